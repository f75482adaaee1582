#include "KnownModems.h"

namespace KnownModems
{

const QList<KnownModem>& all()
{
    // USB ids and product names: the Linux USB ID repository (usb.ids, linux-usb.org).
    static const QList<KnownModem> modems{
        {QStringLiteral("0baf:0303"), QStringLiteral("USR5637"), QStringLiteral("AT+VCID=1"),
         QStringLiteral("U.S. Robotics USB Faxmodem 5637 user guide, command reference: +VCID=1 enables "
                        "formatted caller ID")},
        {QStringLiteral("0803:3095"), QStringLiteral("Zoom 3095"), QStringLiteral("AT+VCID=1"),
         QStringLiteral("Zoom Telephonics model 3095 USB Mini External Modem, AT command reference: +VCID")},
        {QStringLiteral("0572:1340"), QStringLiteral("CX93010"), QStringLiteral("AT+VCID=1"),
         QStringLiteral("Conexant CX93001/CX93010 AT command reference manual: +VCID, caller ID selection")},
        {QStringLiteral("0572:1328"), QString(), QStringLiteral("AT+VCID=1"),
         QStringLiteral("Conexant CX93001/CX93010 AT command reference manual: +VCID, caller ID selection")},
        {QString(), QStringLiteral("MT5600"), QStringLiteral("AT+VCID=1"),
         QStringLiteral("Multi-Tech Systems AT Commands Reference Guide S000273G (MT5600BA), Caller ID "
                        "Commands: +VCID")},
        {QString(), QStringLiteral("MD1626"), QStringLiteral("AT+VCID=1"),
         QStringLiteral("Black Box Mini Modem V.92 MD1626A manual, chapter 5: +VCID caller ID selection")},
        {QString(), QStringLiteral("Agere"), QStringLiteral("AT+VCID=1"),
         QStringLiteral("modemsite.com, caller ID on LT (Lucent/Agere) chipsets: +VCID=1 formatted report")},
        {QString(), QStringLiteral("Rockwell"), QStringLiteral("AT#CID=1"),
         QStringLiteral(
             "Rockwell AT command reference, 3.6 Caller ID commands: #CID=1 formatted presentation")},
        {QString(), QStringLiteral("Business Modem"), QStringLiteral("AT#CID=1"),
         QStringLiteral("3Com U.S. Robotics 56K Business Modem user guide, Caller ID functions: AT#CID=1")},
    };
    return modems;
}

QString callerIdCommand(const QString& vendorId, const QString& productId, const QString& model)
{
    const QString usbId = vendorId.toLower() + QLatin1Char(':') + productId.toLower();
    for (const KnownModem& modem : all()) {
        if (!modem.usbId.isEmpty() && modem.usbId == usbId)
            return modem.callerIdCommand;
    }
    for (const KnownModem& modem : all()) {
        if (!modem.modelText.isEmpty() && model.contains(modem.modelText, Qt::CaseInsensitive))
            return modem.callerIdCommand;
    }
    return {};
}

} // namespace KnownModems
