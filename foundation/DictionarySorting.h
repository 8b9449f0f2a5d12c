// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

#include <algorithm>

// Keys of an associative container in ascending order (operator< of the key
// type), whatever order the container keeps. Pure; any thread.
namespace DictionarySorting {

template <typename Map> QList<typename Map::key_type> sortedKeys(const Map& map) {
    QList<typename Map::key_type> keys;
    keys.reserve(map.size());
    for (auto it = map.keyBegin(); it != map.keyEnd(); ++it)
        keys.append(*it);
    std::sort(keys.begin(), keys.end());
    return keys;
}

} // namespace DictionarySorting
