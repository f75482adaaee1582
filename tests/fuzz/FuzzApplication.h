#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

// The Qt application a fuzz target needs for files and databases, made once, and a folder of its own on
// /dev/shm (where the machine has one), so that its files live in memory and each run is fast.
inline QTemporaryDir& fuzzFolder()
{
    static int argc = 1;
    static char name[] = "nimbrel-fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static QTemporaryDir folder((QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm")
                                                                                     : QDir::tempPath())
                                + QStringLiteral("/nimbrel-fuzz-XXXXXX"));
    return folder;
}
