// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArgumentCursor.h"

namespace {

const QLatin1String optionPrefix("--");

} // namespace

bool ArgumentCursor::next() {
    ++m_index;
    if (!m_optionsEnded && m_index < m_arguments.size() && current() == optionPrefix) {
        m_optionsEnded = true;
        ++m_index;
    }
    return m_index < m_arguments.size();
}

bool ArgumentCursor::isOption() const {
    return !m_optionsEnded && current().startsWith(optionPrefix);
}

bool ArgumentCursor::value(QString& into, QString& error) {
    if (m_index + 1 >= m_arguments.size()) {
        error = QStringLiteral("option %1 needs a value").arg(current());
        return false;
    }
    into = m_arguments.at(++m_index);
    return true;
}
