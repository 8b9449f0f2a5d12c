// SPDX-License-Identifier: GPL-3.0-or-later
#include "Transferer.h"

#include "Interleaved.h"
#include "StringUtils.h"

#include <QDir>
#include <QHash>
#include <QLocale>

#include <algorithm>

namespace {

// Upper-case first letter and lower-case rest, for every blank-separated word.
QString capitalizedWords(const QString& text) {
    QString result = text;
    bool wordStart = true;
    for (QChar& c : result) {
        if (c.isSpace()) {
            wordStart = true;
            continue;
        }
        c = wordStart ? c.toUpper() : c.toLower();
        wordStart = false;
    }
    return result;
}

QString withoutTrailingFullStops(QString text) {
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

// "~" expanded, separators collapsed, "." and ".." resolved, no trailing "/".
QString standardizedPath(const QString& path) {
    QString expanded = path;
    if (expanded == QLatin1String("~") || expanded.startsWith(QLatin1String("~/")))
        expanded = QDir::homePath() + expanded.mid(1);
    if (expanded.isEmpty())
        return expanded;
    return QDir::cleanPath(expanded);
}

// Reads the files' dates and sizes (and the fingerprints `fingerprintWanted`
// asks for) on two threads: each date is a read of the file's metadata, the
// largest part of a scan of many small files. Files of a device camera
// share one connection and are left to the caller.
void readDatesAndSizes(const QList<CameraFilePtr>& files,
                       const FingerprintWanted& fingerprintWanted) {
    QList<CameraFilePtr> local;
    for (const CameraFilePtr& file : files) {
        if (file->supportsParallelTransfers())
            local.append(file);
    }
    Interleaved::forEach(size_t(local.size()), 2, [&local, &fingerprintWanted](size_t i) {
        local[qsizetype(i)]->readForScan(fingerprintWanted);
    });
}

} // namespace

bool Transferer::cameraHasFiles(Camera& camera, bool imagesOnly) {
    return !camera.getFilesButImagesOnly(imagesOnly, true).isEmpty();
}

QList<CameraFilePtr> Transferer::getCameraFiles(Camera& camera, bool imagesOnly) {
    return camera.getFilesButImagesOnly(imagesOnly, false);
}

void Transferer::scanCamera(Camera& camera, const FingerprintChooser& chooseFingerprints) {
    m_bytesTotal = 0;
    const QList<CameraFilePtr> files = getCameraFiles(camera, false);
    readDatesAndSizes(files, chooseFingerprints ? chooseFingerprints(files) : FingerprintWanted());
    for (const CameraFilePtr& file : files)
        m_bytesTotal += file->fileSize();

    // Keyed by the calendar day: comparing local date-times converts them
    // through the time zone each time.
    QList<TransferTarget> found;
    QHash<QDate, qsizetype> groupOfDay;
    for (const CameraFilePtr& file : files) {
        const QDateTime created = file->creationDate();
        const QDate day =
            created.timeSpec() == Qt::LocalTime ? created.date() : created.toLocalTime().date();
        const auto known = groupOfDay.constFind(day);
        if (known != groupOfDay.cend()) {
            found[*known].items().append(file);
            continue;
        }
        groupOfDay.insert(day, found.size());
        found.append(TransferTarget(day.startOfDay(), file));
    }
    std::stable_sort(
        found.begin(), found.end(),
        [](const TransferTarget& a, const TransferTarget& b) { return a.date() < b.date(); });
    m_groups = found;
}

int Transferer::removeFiles(const std::function<bool(const CameraFilePtr&)>& drop) {
    int removed = 0;
    for (TransferTarget& target : m_groups) {
        removed += int(target.items().removeIf([&](const CameraFilePtr& file) {
            if (!drop(file))
                return false;
            m_bytesTotal -= file->fileSize();
            return true;
        }));
    }
    m_groups.removeIf([](const TransferTarget& target) { return target.items().isEmpty(); });
    return removed;
}

QList<TransferActionPtr> Transferer::getActionsFor(const QString& pattern,
                                                   UserDefaults& settings) const {
    QList<TransferActionPtr> actions;
    for (const TransferTarget& target : m_groups) {
        // One folder per group, whichever of its files.
        const QString folder = calcTargetFolderForFile({}, target, pattern);
        for (const CameraFilePtr& item : target.items()) {
            const QString destination = folder.isEmpty()
                                            ? item->title()
                                            : QStringLiteral("%1/%2").arg(folder, item->title());
            actions.append(
                std::make_shared<TransferAction>(m_transferMode, item, destination, settings));
        }
    }
    return actions;
}

QString Transferer::calcTargetFolderForFile(const CameraFilePtr&, const TransferTarget& target,
                                            const QString& pattern) {
    // Each field on its own, so month names holding blanks stay whole. The
    // names are the forms used inside a date (MMM, MMMM), not stand-alone.
    const QLocale locale; // the user's locale, unless the program set another default
    const QDate day = target.date().toLocalTime().date();
    const QString shortMonth =
        withoutTrailingFullStops(capitalizedWords(locale.toString(day, QStringLiteral("MMM"))));
    const QString longMonth = capitalizedWords(locale.toString(day, QStringLiteral("MMMM")));

    QString folder = pattern;
    folder.replace(QLatin1String("%d"), locale.toString(day, QStringLiteral("dd")));
    folder.replace(QLatin1String("%m"), locale.toString(day, QStringLiteral("MM")));
    folder.replace(QLatin1String("%a"), shortMonth);
    folder.replace(QLatin1String("%M"), longMonth);
    folder.replace(QLatin1String("%y"), locale.toString(day, QStringLiteral("yy")));
    folder.replace(QLatin1String("%Y"), locale.toString(day, QStringLiteral("yyyy")));
    folder.replace(QLatin1String("%P"), target.description());

    folder = StringUtils::stringByTrimmingTrailingWhitespaceAndNewlineCharacters(
        standardizedPath(folder));
    // Trimming may uncover a separator ("Trip/ "), which is dropped too.
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}
