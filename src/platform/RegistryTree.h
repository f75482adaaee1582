#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// A read-only view in the layout of the Windows registry: keys addressed by paths of names joined by "\",
// each holding typed values. Names of keys and values match without regard to case. Sub-keys enumerate in
// the order they were added. The tree is built in memory (from the machine's devices and .reg files) and
// then only read.
class RegistryTree
{
public:
    enum Type : quint32 { String = 1, ExpandString = 2, Binary = 3, Dword = 4, MultiString = 7 };

    struct Value {
        quint32 type = 0;
        QByteArray data;
    };

    struct Key {
        QString name;
        std::vector<std::pair<QString, Value>> values;
        std::vector<Key> subkeys;

        const Key* subkey(const QString& name) const;
        const Value* value(const QString& name) const;
    };

    // A text value as the registry keeps it: its bytes and a closing NUL.
    static Value text(const QString& text);

    // Building: missing keys on the path are created.
    void setValue(const QString& keyPath, const QString& name, const Value& value);
    void addKey(const QString& keyPath);
    void removeKey(const QString& keyPath);
    void removeValue(const QString& keyPath, const QString& name);

    // Reading: nullptr when the key does not exist.
    const Key* openKey(const QString& keyPath) const;

private:
    Key* createKey(const QString& keyPath);
    Key m_root;
};
