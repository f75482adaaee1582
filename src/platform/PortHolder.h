#pragma once

#include <QString>

// The program that has a device open, as "ModemManager (process 812)", found through the open files
// under /proc that this user may see; empty when none can be seen (another user's process, such as
// ModemManager running as root, hides its files). procRoot lets a test point elsewhere.
QString portHolder(const QString& devicePath, const QString& procRoot = QStringLiteral("/proc"));
