// Lines from an NCID peer, both ways: what a server sends the client, and what a client sends the
// server, read through the same capped line reader the server uses.
#include "CappedLines.h"
#include "NcidLine.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QByteArray& line : bytes.split('\n'))
        static_cast<void>(NcidLine::read(line).number.size());

    QByteArray fromClient = bytes;
    QBuffer socket(&fromClient);
    socket.open(QIODevice::ReadOnly);
    bool skipping = false;
    qsizetype taken = 0;
    readCappedLines(socket, 512, skipping, [&taken](const QByteArray& line) { taken += line.size(); });
    Q_UNUSED(taken);
    return 0;
}
