#pragma once

#include <QString>

// The desktop's start at login, by the XDG autostart rules: an entry in the user's autostart folder
// ($XDG_CONFIG_HOME/autostart) that runs the program with --autostart. An entry there that says
// Hidden=true (a desktop's own "off") counts as off.
class Autostart
{
public:
    // entryFile: the entry's path; executable: the program it starts.
    Autostart(QString entryFile, QString executable);

    QString entryFile() const { return m_entryFile; }
    bool isOn() const;
    // Writes or removes the entry; false with *error (what failed, where and why) when it cannot.
    bool setOn(bool on, QString* error) const;

private:
    QString m_entryFile;
    QString m_executable;
};
