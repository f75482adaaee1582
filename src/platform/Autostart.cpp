#include "Autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace
{

// An Exec argument: quoted when it holds a character the desktop entry rules reserve, then escaped as
// every string value of the file is.
QString execArgument(const QString& argument)
{
    static const QRegularExpression reserved(QStringLiteral("[\\s\"'\\\\><~|&;$*?#()`]"));
    QString quoted = argument;
    if (argument.contains(reserved)) {
        static const QRegularExpression escaped(QStringLiteral("([\"`$\\\\])"));
        quoted =
            QLatin1Char('"') + QString(argument).replace(escaped, QStringLiteral("\\\\1")) + QLatin1Char('"');
    }
    return quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('%'), QStringLiteral("%%"));
}

} // namespace

Autostart::Autostart(QString entryFile, QString executable)
    : m_entryFile(std::move(entryFile))
    , m_executable(std::move(executable))
{
}

bool Autostart::isOn() const
{
    QFile entry(m_entryFile);
    if (!entry.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    while (!entry.atEnd()) {
        const QByteArray line = entry.readLine().trimmed();
        if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false")
            return false;
    }
    return true;
}

bool Autostart::setOn(bool on, QString* error) const
{
    if (!on) {
        QFile entry(m_entryFile);
        if (!entry.exists() || entry.remove())
            return true;
        *error = QStringLiteral("Nimbrel could not remove %1: %2.\nIt will still start at login; remove the "
                                "file by hand, or check the folder's permissions.")
                     .arg(m_entryFile, entry.errorString());
        return false;
    }
    QSaveFile entry(m_entryFile);
    const bool written = QDir().mkpath(QFileInfo(m_entryFile).absolutePath())
                         && entry.open(QIODevice::WriteOnly | QIODevice::Text)
                         && entry.write(QStringLiteral("[Desktop Entry]\n"
                                                       "Type=Application\n"
                                                       "Name=Nimbrel\n"
                                                       "Comment=Shows who is calling\n"
                                                       "Exec=%1 --autostart\n"
                                                       "Icon=nimbrel\n"
                                                       "Terminal=false\n"
                                                       "X-GNOME-Autostart-enabled=true\n")
                                            .arg(execArgument(m_executable))
                                            .toUtf8())
                                > 0
                         && entry.commit();
    if (!written)
        *error = QStringLiteral("Nimbrel could not write %1: %2.\nIt will not start at login; check that "
                                "the folder exists and can be written.")
                     .arg(m_entryFile, entry.error() == QFileDevice::NoError
                                           ? QStringLiteral("the folder cannot be made")
                                           : entry.errorString());
    return written;
}
