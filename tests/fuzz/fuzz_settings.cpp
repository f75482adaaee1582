// A settings file as a user or another program may have left it: read as the program reads it at start.
#include "FuzzApplication.h"
#include "MonitorSettings.h"
#include "PortTable.h"

#include <QFile>
#include <QSettings>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir& dir = fuzzFolder();
    const QString path = dir.filePath(QStringLiteral("Nimbrel.conf"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(path));
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    const QSettings settings(path, QSettings::IniFormat);
    const PortTable ports(settings, [](const QString&) { return true; });
    const MonitorSettings options = MonitorSettings::load(settings, ports);
    static_cast<void>(options.commPort);
    return 0;
}
