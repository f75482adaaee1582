#include "AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

AppPaths::AppPaths(QString appPath, QString dataPath)
    : m_appPath(std::move(appPath))
    , m_dataPath(std::move(dataPath))
{
}

AppPaths AppPaths::forRunningProgram()
{
    const QString appPath = QCoreApplication::applicationDirPath();
    if (QFileInfo(appPath).isWritable())
        return AppPaths(appPath, appPath);
    const QString dataPath =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Nimbrel");
    QDir().mkpath(dataPath);
    return AppPaths(appPath, dataPath);
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
