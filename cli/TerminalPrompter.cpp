// SPDX-License-Identifier: GPL-3.0-or-later
#include "TerminalPrompter.h"

#include "InterruptGuard.h"
#include "UserDefaults.h"
#include "settings/SettingsKeys.h"
#include "transfer/DescriptionHistory.h"
#include "transfer/OverwriteMode.h"

#include <cerrno>
#include <unistd.h>

namespace {

const QString dateFormat = QStringLiteral("yyyy-MM-dd");

} // namespace

TerminalPrompter::TerminalPrompter(FILE* stream, UserDefaults& store)
    : m_out(stream)
    , m_settings(store) {}

bool TerminalPrompter::inputIsTerminal() {
    return ::isatty(STDIN_FILENO) == 1;
}

void TerminalPrompter::print(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), m_out);
    std::fflush(m_out);
}

bool TerminalPrompter::readLine(QString& line) {
    QByteArray bytes;
    for (;;) {
        char c = 0;
        const ssize_t got = ::read(STDIN_FILENO, &c, 1);
        if (got < 0 && errno == EINTR && !InterruptGuard::interrupted())
            continue;
        if (got <= 0) {
            if (!bytes.isEmpty())
                break;
            print(QStringLiteral("\n"));
            return false;
        }
        if (c == '\n')
            break;
        bytes.append(c);
    }
    line = QString::fromLocal8Bit(bytes).trimmed();
    return true;
}

bool TerminalPrompter::askGroup(TransferTarget& target, int index, int count) {
    const QDate scanned = target.date().toLocalTime().date();
    print(QStringLiteral("Group %1 of %2: %3 file(s) taken on %4\n")
              .arg(index + 1)
              .arg(count)
              .arg(target.items().size())
              .arg(scanned.toString(dateFormat)));
    for (;;) {
        print(QStringLiteral("  Date [%1]: ").arg(scanned.toString(dateFormat)));
        QString answer;
        if (!readLine(answer))
            return false;
        if (answer.isEmpty())
            break;
        const QDate chosen = QDate::fromString(answer, dateFormat);
        if (chosen.isValid()) {
            target.setDate(chosen.startOfDay());
            break;
        }
        print(QStringLiteral("  %1 is not a date like %2\n")
                  .arg(answer, QDate::currentDate().toString(dateFormat)));
    }

    DescriptionHistory descriptions(m_settings);
    const QStringList history = descriptions.entries();
    for (qsizetype i = 0; i < history.size(); ++i)
        print(QStringLiteral("  %1) %2\n").arg(i + 1).arg(history.at(i)));
    print(history.isEmpty() ? QStringLiteral("  Description: ")
                            : QStringLiteral("  Description (or a number above): "));
    QString description;
    if (!readLine(description))
        return false;
    bool isNumber = false;
    const int pick = description.toInt(&isNumber);
    if (isNumber && pick >= 1 && pick <= history.size())
        description = history.at(pick - 1);
    target.setDescription(description);
    descriptions.remember(description);
    return true;
}

OverwriteAnswer TerminalPrompter::askOverwrite(const QString& title, const QString& destination) {
    print(QStringLiteral("\n%1 already exists as %2.\n").arg(title, destination));
    bool overwrite = false;
    for (;;) {
        print(QStringLiteral("  [r]eplace, [s]kip or s[t]op the transfer? "));
        QString answer;
        if (!readLine(answer))
            return InterruptGuard::interrupted() ? OverwriteAnswer::canceled() : OverwriteAnswer{};
        const QString choice = answer.toLower();
        if (choice == QLatin1String("r") || choice == QLatin1String("replace")) {
            overwrite = true;
            break;
        }
        if (choice == QLatin1String("s") || choice == QLatin1String("skip"))
            break;
        if (choice == QLatin1String("t") || choice == QLatin1String("stop"))
            return OverwriteAnswer::canceled();
    }

    const int lastScope = static_cast<int>(qBound<qint64>(
        OverwriteScopeThisFile,
        m_settings.integerForKey(QLatin1String(SettingsKeys::transfer_overwrite_default)),
        OverwriteScopeAlways));
    print(QStringLiteral("  Apply to: 1) this file only  2) all files of this transfer  "
                         "3) all files from now on [%1]: ")
              .arg(lastScope + 1));
    auto scope = static_cast<OverwriteScope>(lastScope);
    QString answer;
    if (!readLine(answer))
        return InterruptGuard::interrupted() ? OverwriteAnswer::canceled() : OverwriteAnswer{};
    bool isNumber = false;
    const int picked = answer.toInt(&isNumber);
    if (isNumber && picked >= 1 && picked <= 3)
        scope = static_cast<OverwriteScope>(picked - 1);
    return OverwriteAnswer::fromChoice(overwrite, scope, m_settings);
}
