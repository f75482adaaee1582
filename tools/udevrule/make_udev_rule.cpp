// Writes the udev rule that keeps ModemManager away from the modems whose caller-ID command Nimbrel
// knows, made from the same table so that the two never disagree.
#include "KnownModems.h"

#include <QFile>
#include <QSet>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_udev_rule OUTPUT.rules\n");
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(file.errorString()));
        return 1;
    }
    QTextStream out(&file);
    out << "# Nimbrel: ModemManager leaves these caller-ID modems alone, so that Nimbrel can open their\n"
           "# ports at once. Install in /etc/udev/rules.d/ (or /usr/lib/udev/rules.d/), then run\n"
           "# udevadm control --reload && udevadm trigger, and plug the modem in again.\n"
           "# ATTRS matches the USB device and everything below it, the tty included.\n"
           "ACTION!=\"add|change|move|bind\", GOTO=\"nimbrel_modems_end\"\n\n";
    QSet<QString> written;
    for (const KnownModem& modem : KnownModems::all()) {
        if (modem.usbId.isEmpty() || written.contains(modem.usbId))
            continue;
        written.insert(modem.usbId);
        const QStringList ids = modem.usbId.split(QLatin1Char(':'));
        out << "# " << modem.source << "\n"
            << "ATTRS{idVendor}==\"" << ids.at(0) << "\", ATTRS{idProduct}==\"" << ids.at(1)
            << "\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n";
    }
    out << "\nLABEL=\"nimbrel_modems_end\"\n";
    out.flush();
    return file.error() == QFile::NoError ? 0 : 1;
}
