#include "CallerIdMessage.h"

#include <QByteArray>

#include <cctype>

namespace
{

constexpr unsigned char kSingleDataMessage = 0x04;
constexpr unsigned char kMultipleDataMessage = 0x80;

std::optional<QByteArray> bytesOfHex(QByteArrayView hex)
{
    if (hex.isEmpty() || hex.size() % 2 != 0)
        return std::nullopt;
    for (const char c : hex) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
    }
    return QByteArray::fromHex(hex.toByteArray());
}

void takeDateTime(CallerIdMessage& message, QByteArrayView digits)
{
    message.date = QString::fromLatin1(digits.first(std::min<qsizetype>(4, digits.size())));
    message.time = QString::fromLatin1(digits.sliced(std::min<qsizetype>(4, digits.size())));
}

// Parameters: a type byte, a length byte and that many data bytes, one after the other.
std::optional<CallerIdMessage> readParameters(QByteArrayView bytes, bool mayEndInChecksum)
{
    CallerIdMessage message;
    QString directoryNumber; // the dialable number of Bellcore's parameter 03, used when no 02 or 04 comes
    bool numberOrReason = false;
    qsizetype at = 0;
    while (at < bytes.size()) {
        if (mayEndInChecksum && at == bytes.size() - 1)
            break;
        if (at + 2 > bytes.size() || at + 2 + static_cast<unsigned char>(bytes[at + 1]) > bytes.size())
            return std::nullopt;
        const unsigned char type = bytes[at];
        const QByteArrayView data = bytes.sliced(at + 2, static_cast<unsigned char>(bytes[at + 1]));
        const QString text = QString::fromLatin1(data);
        switch (type) {
        case 0x01:
            takeDateTime(message, data);
            break;
        case 0x02:
        case 0x04:
            message.number = text;
            numberOrReason = true;
            break;
        case 0x03:
            directoryNumber = text;
            break;
        case 0x07:
        case 0x08:
            message.name = text;
            break;
        default:
            break; // call type, redirection and the like say nothing of the caller
        }
        at += 2 + data.size();
    }
    if (!numberOrReason)
        message.number = directoryNumber;
    return message;
}

} // namespace

std::optional<CallerIdMessage> CallerIdMessage::fromHexLine(QByteArrayView line)
{
    const std::optional<QByteArray> bytes = bytesOfHex(line);
    if (!bytes || bytes->size() < 3)
        return std::nullopt;
    const unsigned char type = bytes->at(0);
    const qsizetype length = static_cast<unsigned char>(bytes->at(1));
    if ((type != kSingleDataMessage && type != kMultipleDataMessage) || length + 3 != bytes->size())
        return std::nullopt;
    unsigned char sum = 0;
    for (const char byte : *bytes)
        sum += static_cast<unsigned char>(byte);
    if (sum != 0)
        return std::nullopt;
    const QByteArrayView body = QByteArrayView(*bytes).sliced(2, length);
    if (type == kMultipleDataMessage)
        return readParameters(body, false);
    // Single data message: MMDDHHMM, then the number or its reason code.
    if (body.size() < 8)
        return std::nullopt;
    CallerIdMessage message;
    takeDateTime(message, body.first(8));
    message.number = QString::fromLatin1(body.sliced(8));
    return message;
}

std::optional<CallerIdMessage> CallerIdMessage::fromHexParameters(QByteArrayView hex)
{
    const std::optional<QByteArray> bytes = bytesOfHex(hex);
    // A well-formed list never leaves a lone byte after its last parameter, so one there is the checksum.
    return bytes ? readParameters(*bytes, true) : std::nullopt;
}
