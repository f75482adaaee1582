#include "NcidLine.h"

namespace
{

// NCID's words for a withheld or missing value, as the reason codes calls are stored with.
QString callerValue(const QString& value)
{
    if (value == QLatin1String("OUT-OF-AREA"))
        return QStringLiteral("O");
    if (value == QLatin1String("PRIVATE") || value == QLatin1String("ANONYMOUS"))
        return QStringLiteral("P");
    if (value == QLatin1String("-") || value == QLatin1String("NO NAME")
        || value == QLatin1String("NO-NUMBER"))
        return {};
    return value;
}

} // namespace

QString ncidField(QByteArrayView pairs, QByteArrayView label)
{
    // Labels and values alternate between stars; a value may be empty, never holds a star.
    qsizetype at = pairs.indexOf('*');
    while (at >= 0) {
        const qsizetype labelEnd = pairs.indexOf('*', at + 1);
        if (labelEnd < 0)
            break;
        const qsizetype valueEnd = pairs.indexOf('*', labelEnd + 1);
        const QByteArrayView value =
            pairs.sliced(labelEnd + 1, (valueEnd < 0 ? pairs.size() : valueEnd) - labelEnd - 1);
        if (pairs.sliced(at + 1, labelEnd - at - 1) == label)
            return QString::fromUtf8(value).trimmed();
        at = valueEnd;
    }
    return {};
}

NcidLine NcidLine::read(QByteArrayView line)
{
    NcidLine result;
    if (line.startsWith("CID:")) {
        const QByteArrayView pairs = line.sliced(4);
        result.kind = Kind::Call;
        result.number = callerValue(ncidField(pairs, "NMBR"));
        result.name = callerValue(ncidField(pairs, "NAME"));
    } else if (line.startsWith("CIDINFO:")) {
        result.kind = Kind::RingInfo;
        bool isNumber = false;
        result.ring = ncidField(line.sliced(8), "RING").toInt(&isNumber);
        if (!isNumber)
            result.kind = Kind::Other;
    } else if (line.startsWith("200")) {
        result.kind = Kind::Greeting;
        result.text = QString::fromUtf8(line.sliced(3)).trimmed();
    } else if (line.startsWith("300")) {
        result.kind = Kind::StartupEnd;
    }
    return result;
}
