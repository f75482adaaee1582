#pragma once

#include <QCoreApplication>
#include <QTemporaryDir>

// The Qt application a fuzz target needs for files and databases, made once, and a folder of its own on
// /dev/shm, so that its files live in memory and each run is fast.
inline QTemporaryDir& fuzzFolder()
{
    static int argc = 1;
    static char name[] = "nimbrel-fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static QTemporaryDir folder(QStringLiteral("/dev/shm/nimbrel-fuzz-XXXXXX"));
    return folder;
}
