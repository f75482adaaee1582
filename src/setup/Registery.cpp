#include "Registery.h"

#include "RegistryTree.h"

bool RegValueExists(const RegistryTree& root, const QString& keyPath, const QString& valueName)
{
    const RegistryTree::Key* key = root.openKey(keyPath);
    return key && key->value(valueName);
}

QString RegReadString(const RegistryTree& root, const QString& keyPath, const QString& valueName,
                      const QString& fallback)
{
    const RegistryTree::Key* key = root.openKey(keyPath);
    if (!key)
        return {};
    const RegistryTree::Value* value = key->value(valueName);
    if (!value || value->type != RegistryTree::String)
        return fallback;
    const qsizetype end = value->data.indexOf('\0');
    return end < 0 ? QString() : QString::fromUtf8(value->data.left(end));
}

QString RegLastSubkey(const RegistryTree& root, const QString& keyPath)
{
    const RegistryTree::Key* key = root.openKey(keyPath);
    return key && !key->subkeys.empty() ? key->subkeys.back().name : QString();
}
