#pragma once

#include <QString>

class RegistryTree;

// The three readers that modem detection walks the registry view with. Each reads and keeps nothing.

// True when the key exists and holds the value.
bool RegValueExists(const RegistryTree& root, const QString& keyPath, const QString& valueName);
// The text of a REG_SZ value up to its first NUL (empty text when it has none); the fallback for a value
// of another type or a missing one; empty text when the key does not exist.
QString RegReadString(const RegistryTree& root, const QString& keyPath, const QString& valueName,
                      const QString& fallback);
// The name of the key's last sub-key, in enumeration order; empty when it has none or does not exist.
QString RegLastSubkey(const RegistryTree& root, const QString& keyPath);
