// SPDX-License-Identifier: GPL-3.0-or-later
#include "MountTable.h"

#include <QFile>
#include <QSet>

QString MountTable::unescape(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field.at(i);
        if (c == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            bool ok = false;
            const int value = digits.toInt(&ok, 8);
            if (ok && digits.size() == 3 && value < 256) {
                out.append(static_cast<char>(value));
                i += 3;
                continue;
            }
        }
        out.append(c);
    }
    return QFile::decodeName(out);
}

QList<MountEntry> MountTable::parse(const QByteArray& mountinfo) {
    QList<MountEntry> entries;
    for (const QByteArray& line : mountinfo.split('\n')) {
        // id parent major:minor root mount-point options [optional...] - type source super-options
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype separator = fields.indexOf(QByteArray("-"));
        if (fields.size() < 5 || separator < 6 || separator + 2 >= fields.size())
            continue;
        entries.append({unescape(fields.at(4)), unescape(fields.at(separator + 1)),
                        unescape(fields.at(separator + 2))});
    }
    return entries;
}

bool MountTable::isVirtualFileSystem(const QString& type) {
    static const QSet<QString> virtualTypes{
        QStringLiteral("proc"),       QStringLiteral("sysfs"),       QStringLiteral("cgroup"),
        QStringLiteral("cgroup2"),    QStringLiteral("devpts"),      QStringLiteral("devtmpfs"),
        QStringLiteral("mqueue"),     QStringLiteral("debugfs"),     QStringLiteral("tracefs"),
        QStringLiteral("securityfs"), QStringLiteral("pstore"),      QStringLiteral("bpf"),
        QStringLiteral("autofs"),     QStringLiteral("hugetlbfs"),   QStringLiteral("configfs"),
        QStringLiteral("fusectl"),    QStringLiteral("binfmt_misc"), QStringLiteral("nsfs")};
    return virtualTypes.contains(type);
}
