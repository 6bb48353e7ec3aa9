// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

// Operations on Qt's associative containers (QMap, QHash, QVariantMap, …).
namespace DictionaryExtensions {

// Removes every entry whose value equals the argument, whatever its key.
template <typename Dictionary, typename Value>
void removeObject(Dictionary& dictionary, const Value& value)
{
    QList<typename Dictionary::key_type> keys;
    for (auto it = dictionary.cbegin(); it != dictionary.cend(); ++it) {
        if (it.value() == value)
            keys.append(it.key());
    }
    for (const auto& key : keys)
        dictionary.remove(key);
}

} // namespace DictionaryExtensions
