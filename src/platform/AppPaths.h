#pragma once

#include <QString>

// Where the program's files live: AppPath is the folder of the executable; the call database and the
// report are kept there when it can be written and is not an installed copy's, otherwise in the user's data
// folder.
class AppPaths
{
public:
    static AppPaths forRunningProgram();
    // The data folder for a program in appPath: appPath itself when it can be written and lies outside /usr,
    // else userDataPath.
    static AppPaths choose(const QString& appPath, bool appPathWritable, const QString& userDataPath);
    AppPaths(QString appPath, QString dataPath, QString notice = {});

    QString appPath() const { return m_appPath; }
    QString dataPath() const { return m_dataPath; }
    QString dataFile(const QString& name) const;
    QString appFile(const QString& name) const;

    // Said at the start that passes over a call database beside the program for a new one of the user's.
    QString notice() const { return m_notice; }

    // The per-user settings file: $XDG_CONFIG_HOME/Nimbrel/Nimbrel.conf.
    static QString settingsFile();

private:
    QString m_appPath;
    QString m_dataPath;
    QString m_notice;
};
