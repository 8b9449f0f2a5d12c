// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

#include <optional>
#include <utility>

// A list used as a stack. Pure; the list belongs to one thread.
namespace MutableArrayUtils {

template <typename T> void push(QList<T>& list, T value) {
    list.append(std::move(value));
}

// Removes and returns the last element; nothing for an empty list, which
// stays empty.
template <typename T> std::optional<T> pop(QList<T>& list) {
    if (list.isEmpty())
        return std::nullopt;
    return list.takeLast();
}

} // namespace MutableArrayUtils
