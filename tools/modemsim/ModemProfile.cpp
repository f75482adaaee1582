#include "ModemProfile.h"

ModemProfile ModemProfile::fromText(const QString& text, QString* error)
{
    ModemProfile profile;
    const QStringList items = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& item : items) {
        if (item.startsWith(QLatin1String("accept=")))
            profile.acceptedCommands = item.mid(7).split(QLatin1Char(':'), Qt::SkipEmptyParts);
        else if (item == QLatin1String("accept-none"))
            profile.acceptedCommands.clear();
        else if (item == QLatin1String("echo"))
            profile.echo = true;
        else if (item == QLatin1String("cr"))
            profile.crOnly = true;
        else if (item == QLatin1String("silent"))
            profile.silent = true;
        else if (item == QLatin1String("reset-error"))
            profile.errorOnReset = true;
        else if (error)
            *error = QStringLiteral("unknown profile item '%1'").arg(item);
    }
    return profile;
}
