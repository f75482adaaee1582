#pragma once

#include <QList>
#include <QString>

// The caller-ID commands of modems whose documentation says what switches their caller ID on.
struct KnownModem {
    QString usbId;     // "0baf:0303", or empty for a row that matches by model text
    QString modelText; // matched anywhere in the model, without regard to case
    QString callerIdCommand;
    QString source; // the public document that gives the command
};

namespace KnownModems
{

const QList<KnownModem>& all();
// The command for a device: by its USB ids first, then by its model text; empty when not known.
QString callerIdCommand(const QString& vendorId, const QString& productId, const QString& model);

} // namespace KnownModems
