#include "AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

AppPaths::AppPaths(QString appPath, QString dataPath, QString notice)
    : m_appPath(std::move(appPath))
    , m_dataPath(std::move(dataPath))
    , m_notice(std::move(notice))
{
}

AppPaths AppPaths::forRunningProgram()
{
    const QString appPath = QCoreApplication::applicationDirPath();
    return choose(appPath, QFileInfo(appPath).isWritable(),
                  QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                      + QStringLiteral("/Nimbrel"));
}

AppPaths AppPaths::choose(const QString& appPath, bool appPathWritable, const QString& userDataPath)
{
    // A program folder under /usr is an installed one, which no run may write to, not even root's.
    const bool installed = QDir::cleanPath(appPath).startsWith(QStringLiteral("/usr/"));
    if (appPathWritable && !installed)
        return AppPaths(appPath, appPath);
    QDir().mkpath(userDataPath);
    const QString beside = QDir(appPath).filePath(QStringLiteral("callerid.mdb"));
    const QString own = QDir(userDataPath).filePath(QStringLiteral("callerid.mdb"));
    // Said once: at the start that begins the user's own file.
    if (!QFileInfo::exists(beside) || QFileInfo::exists(own))
        return AppPaths(appPath, userDataPath);
    const QString why = appPathWritable ? QStringLiteral("an installed program's folder is never written to")
                                        : QStringLiteral("the program folder cannot be written");
    return AppPaths(
        appPath, userDataPath,
        QStringLiteral("Calls are kept in %1, not in %2: %3. To go on with the calls of %2, copy it "
                       "there while Nimbrel is closed.")
            .arg(own, beside, why));
}

QString AppPaths::dataFile(const QString& name) const
{
    return QDir(m_dataPath).filePath(name);
}

QString AppPaths::appFile(const QString& name) const
{
    return QDir(m_appPath).filePath(name);
}

QString AppPaths::settingsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Nimbrel/Nimbrel.conf");
}
