// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Walks the arguments of a command line: each starting with "--" names an
// option until a lone "--", which ends the options and is not itself
// returned; an option's value is the argument after it.
class ArgumentCursor {
public:
    // `arguments` must outlive the cursor.
    explicit ArgumentCursor(const QStringList& arguments)
        : m_arguments(arguments) {}

    // Moves to the next argument; false when none is left.
    bool next();
    const QString& current() const { return m_arguments.at(m_index); }
    // The current argument names an option rather than an operand.
    bool isOption() const;
    // Moves to the current option's value and puts it in `into`; without
    // one, sets `error` to "option NAME needs a value" and returns false.
    bool value(QString& into, QString& error);

private:
    const QStringList& m_arguments;
    qsizetype m_index = -1;
    bool m_optionsEnded = false;
};
