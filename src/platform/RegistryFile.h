#pragma once

#include <QStringList>

class RegistryTree;

// Reads a registry export file (REGEDIT4, or the "Windows Registry Editor Version 5.00" header) into a
// tree: keys under HKEY_LOCAL_MACHINE are added or, with "[-...]", removed; values are strings, dword:,
// hex: and hex(n): data, or "=-" to remove one. Each line that cannot be read is skipped and described
// in the returned list ("modems.reg line 7: ..."), so one typing error loses nothing else.
namespace RegistryFile
{

QStringList merge(RegistryTree& tree, const QString& filePath);
QStringList mergeText(RegistryTree& tree, const QByteArray& text, const QString& fileName);

} // namespace RegistryFile
