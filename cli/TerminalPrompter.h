// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transfer/OverwriteAnswer.h"
#include "transfer/TransferTarget.h"

#include <QString>

#include <cstdio>

class UserDefaults;

// Questions on the terminal: each group's date and description before a
// transfer, and what to do with a file that already exists. Questions go
// to `out` (stderr), answers come from standard input; the history and the
// answers' scope live in `settings`. Main thread.
class TerminalPrompter {
public:
    TerminalPrompter(FILE* out, UserDefaults& settings);

    static bool inputIsTerminal();

    // Asks the date and description of `target` (group `index` of `count`),
    // offering the description history; a chosen non-empty description is
    // remembered. False when input ended or Ctrl-C was pressed.
    bool askGroup(TransferTarget& target, int index, int count);

    // Replace, skip or stop for `destination`, then the scope of the answer
    // (recorded like the window's prompt records it). End of input skips
    // this file only; Ctrl-C stops.
    OverwriteAnswer askOverwrite(const QString& title, const QString& destination);

private:
    bool readLine(QString& line);
    void print(const QString& text);

    FILE* m_out;
    UserDefaults& m_settings;
};
