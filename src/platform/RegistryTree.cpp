#include "RegistryTree.h"

#include <QStringList>

#include <algorithm>

namespace
{

QStringList pathNames(const QString& keyPath)
{
    return keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

const RegistryTree::Key* RegistryTree::Key::subkey(const QString& name) const
{
    const auto found = std::find_if(subkeys.begin(), subkeys.end(),
                                    [&](const Key& key) { return sameName(key.name, name); });
    return found == subkeys.end() ? nullptr : &*found;
}

const RegistryTree::Value* RegistryTree::Key::value(const QString& name) const
{
    const auto found = std::find_if(values.begin(), values.end(),
                                    [&](const auto& named) { return sameName(named.first, name); });
    return found == values.end() ? nullptr : &found->second;
}

RegistryTree::Value RegistryTree::text(const QString& text)
{
    return Value{String, text.toUtf8() + '\0'};
}

RegistryTree::Key* RegistryTree::createKey(const QString& keyPath)
{
    Key* key = &m_root;
    for (const QString& name : pathNames(keyPath)) {
        Key* next = const_cast<Key*>(key->subkey(name));
        if (!next) {
            key->subkeys.push_back(Key{name, {}, {}});
            next = &key->subkeys.back();
        }
        key = next;
    }
    return key;
}

void RegistryTree::addKey(const QString& keyPath)
{
    createKey(keyPath);
}

void RegistryTree::setValue(const QString& keyPath, const QString& name, const Value& value)
{
    Key* key = createKey(keyPath);
    auto& values = key->values;
    const auto found = std::find_if(values.begin(), values.end(),
                                    [&](const auto& named) { return sameName(named.first, name); });
    if (found == values.end())
        values.emplace_back(name, value);
    else
        found->second = value;
}

void RegistryTree::removeKey(const QString& keyPath)
{
    QStringList names = pathNames(keyPath);
    if (names.isEmpty())
        return;
    const QString last = names.takeLast();
    Key* parent = const_cast<Key*>(openKey(names.join(QLatin1Char('\\'))));
    if (parent)
        std::erase_if(parent->subkeys, [&](const Key& key) { return sameName(key.name, last); });
}

void RegistryTree::removeValue(const QString& keyPath, const QString& name)
{
    if (Key* key = const_cast<Key*>(openKey(keyPath)))
        std::erase_if(key->values, [&](const auto& named) { return sameName(named.first, name); });
}

const RegistryTree::Key* RegistryTree::openKey(const QString& keyPath) const
{
    const Key* key = &m_root;
    for (const QString& name : pathNames(keyPath)) {
        key = key->subkey(name);
        if (!key)
            return nullptr;
    }
    return key;
}
