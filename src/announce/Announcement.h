#pragma once

#include <QString>

// What is said when a caller rings: the name followed by " is calling", or the reason word alone.
QString announcementFor(const QString& callerName);
