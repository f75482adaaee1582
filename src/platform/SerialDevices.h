#pragma once

#include <QList>
#include <QString>

// A serial device of this machine that can have a modem behind it.
struct SerialDevice {
    QString name;       // "ttyACM0"
    QString devicePath; // "/dev/ttyACM0"
    QString driver;     // "cdc_acm", "serial8250" ...
    QString vendorId;   // USB ids in lower-case hex, empty for a device that is not on USB
    QString productId;
    QString manufacturer; // the maker's texts, from the device or the udev hardware database
    QString product;
};

// What the kernel (sysfs under /sys/class/tty) and udev (its database under /run/udev/data) know about the
// serial devices: every ttyACM and ttyUSB device, and each ttyS with a UART behind it (the kernel makes
// placeholder ttyS devices whether or not there is one). The files are read under rootDir, so a test can
// hand in a made-up tree. In the order ttyACM, ttyUSB, ttyS, each by number.
QList<SerialDevice> scanSerialDevices(const QString& rootDir = QStringLiteral("/"));
