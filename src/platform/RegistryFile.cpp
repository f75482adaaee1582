#include "RegistryFile.h"

#include "RegistryTree.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <optional>

namespace
{

const QString kRoot = QStringLiteral("HKEY_LOCAL_MACHINE");

// A quoted name or string at the start of text; *rest gets what follows the closing quote.
std::optional<QString> readQuoted(QStringView text, QStringView* rest)
{
    if (!text.startsWith(QLatin1Char('"')))
        return std::nullopt;
    QString result;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            result += text.at(++i);
        } else if (c == QLatin1Char('"')) {
            *rest = text.mid(i + 1).trimmed();
            return result;
        } else {
            result += c;
        }
    }
    return std::nullopt;
}

std::optional<QByteArray> readHexBytes(QStringView text)
{
    QByteArray bytes;
    for (QStringView part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const uint byte = part.trimmed().toUInt(&ok, 16);
        if (!ok || byte > 0xff)
            return std::nullopt;
        bytes.append(char(byte));
    }
    return bytes;
}

std::optional<RegistryTree::Value> readData(QStringView data)
{
    QStringView rest;
    if (const std::optional<QString> text = readQuoted(data, &rest); text && rest.isEmpty())
        return RegistryTree::text(*text);
    if (data.startsWith(QLatin1String("dword:"))) {
        bool ok = false;
        const quint32 number = data.mid(6).trimmed().toUInt(&ok, 16);
        if (!ok)
            return std::nullopt;
        QByteArray bytes(4, '\0');
        for (int i = 0; i < 4; ++i)
            bytes[i] = char((number >> (8 * i)) & 0xff);
        return RegistryTree::Value{RegistryTree::Dword, bytes};
    }
    static const QRegularExpression hex(QStringLiteral("^hex(?:\\(([0-9a-fA-F]+)\\))?:(.*)$"));
    const QRegularExpressionMatch match = hex.match(data.toString());
    if (!match.hasMatch())
        return std::nullopt;
    const std::optional<QByteArray> bytes = readHexBytes(match.capturedView(2));
    if (!bytes)
        return std::nullopt;
    const quint32 type =
        match.hasCaptured(1) ? match.capturedView(1).toUInt(nullptr, 16) : RegistryTree::Binary;
    return RegistryTree::Value{type, *bytes};
}

// A key line "[HKEY_LOCAL_MACHINE\...]" gives the path below the root; other roots give nothing.
std::optional<QString> keyPathBelowRoot(QStringView fullPath)
{
    QStringView path = fullPath;
    if (path.compare(kRoot, Qt::CaseInsensitive) == 0)
        return QString();
    if (!path.startsWith(kRoot + QLatin1Char('\\'), Qt::CaseInsensitive))
        return std::nullopt;
    return path.mid(kRoot.size() + 1).toString();
}

// Joins lines continued with a trailing backslash (long hex data), keeping the first line's number.
QList<std::pair<int, QString>> logicalLines(const QString& text)
{
    QList<std::pair<int, QString>> lines;
    bool continued = false;
    int number = 0;
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        ++number;
        const QString line = raw.trimmed();
        if (continued)
            lines.last().second += line;
        else
            lines.append({number, line});
        continued = line.endsWith(QLatin1Char('\\')) && lines.last().second.contains(QLatin1String("=hex"));
        if (continued)
            lines.last().second.chop(1);
    }
    return lines;
}

} // namespace

namespace RegistryFile
{

QStringList merge(RegistryTree& tree, const QString& filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("%1 could not be read: %2.").arg(filePath, file.errorString())};
    return mergeText(tree, file.readAll(), QFileInfo(filePath).fileName());
}

QStringList mergeText(RegistryTree& tree, const QByteArray& text, const QString& fileName)
{
    QStringList problems;
    const auto problem = [&](int line, const QString& what) {
        problems << QStringLiteral("%1 line %2: %3; the line was skipped.").arg(fileName).arg(line).arg(what);
    };
    const QList<std::pair<int, QString>> lines = logicalLines(QString::fromUtf8(text));
    if (lines.isEmpty()
        || (lines.first().second != QLatin1String("REGEDIT4")
            && lines.first().second != QLatin1String("Windows Registry Editor Version 5.00"))) {
        return {QStringLiteral("%1 does not start with REGEDIT4; the file was not used.").arg(fileName)};
    }
    std::optional<QString> key; // the current key, when it lies under HKEY_LOCAL_MACHINE
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const auto& [number, line] = lines.at(i);
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && !line.endsWith(QLatin1Char(']'))) {
            // Its values would otherwise land in the key before it.
            key.reset();
            problem(number,
                    QStringLiteral("\"%1\" is a key without its closing bracket, and the values up to "
                                   "the next key were skipped with it")
                        .arg(line));
            continue;
        }
        if (line.startsWith(QLatin1Char('['))) {
            const bool remove = line.startsWith(QLatin1String("[-"));
            key = keyPathBelowRoot(QStringView(line).mid(remove ? 2 : 1).chopped(1));
            if (!key)
                problem(number, QStringLiteral("only keys under HKEY_LOCAL_MACHINE are read"));
            else if (remove)
                tree.removeKey(*std::exchange(key, std::nullopt));
            else
                tree.addKey(*key);
            continue;
        }
        if (!key)
            continue;
        QStringView rest;
        std::optional<QString> name;
        if (line.startsWith(QLatin1Char('@')))
            rest = QStringView(line).mid(1).trimmed(), name = QString();
        else
            name = readQuoted(line, &rest);
        if (!name || !rest.startsWith(QLatin1Char('='))) {
            problem(number, QStringLiteral("\"%1\" is not a value (\"name\"=data)").arg(line));
            continue;
        }
        const QStringView data = rest.mid(1).trimmed();
        if (data == QLatin1String("-")) {
            tree.removeValue(*key, *name);
            continue;
        }
        const std::optional<RegistryTree::Value> value = readData(data);
        if (!value)
            problem(number, QStringLiteral("the data of \"%1\" is not a string, dword: or hex:").arg(*name));
        else
            tree.setValue(*key, *name, *value);
    }
    return problems;
}

} // namespace RegistryFile
