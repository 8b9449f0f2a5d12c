// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArgumentCursor.h"

#include <gtest/gtest.h>

namespace {

// What the cursor makes of `arguments`, one entry an argument; "--value"
// is the one option taking a value.
QStringList walk(const QStringList& arguments) {
    QStringList seen;
    ArgumentCursor cursor(arguments);
    while (cursor.next()) {
        if (!cursor.isOption()) {
            seen.append(QStringLiteral("operand ") + cursor.current());
        } else if (cursor.current() == QLatin1String("--value")) {
            QString value;
            QString error;
            seen.append(cursor.value(value, error) ? QStringLiteral("value ") + value : error);
        } else {
            seen.append(QStringLiteral("option ") + cursor.current());
        }
    }
    return seen;
}

TEST(ArgumentCursorTest, SortsOptionsValuesAndOperands) {
    struct Case {
        QStringList arguments;
        QStringList seen;
    };
    const Case cases[] = {
        {{}, {}},
        {{"a", "-", "-x"}, {"operand a", "operand -", "operand -x"}},
        {{"--flag", "a"}, {"option --flag", "operand a"}},
        {{"--value", "--flag", "a"}, {"value --flag", "operand a"}},
        {{"--value", "--"}, {"value --"}},
        {{"--", "--flag", "--"}, {"operand --flag", "operand --"}},
        {{"--"}, {}},
        {{"a", "--value"}, {"operand a", "option --value needs a value"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(walk(c.arguments), c.seen) << c.arguments.join(u' ').toStdString();
}

} // namespace
