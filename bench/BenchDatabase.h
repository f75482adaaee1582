#pragma once

#include <QString>

// Fills a new callerid.mdb with `calls` rows of PhoneCalls, one a minute going back in time, and
// `entries` phone-list entries numbered 5550000000 upwards.
bool fillBenchDatabase(const QString& path, int calls, int entries, QString* error);
