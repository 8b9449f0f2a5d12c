// SPDX-License-Identifier: GPL-3.0-or-later
#include "StagedTransfer.h"

#include "CameraLog.h"
#include "StagedFile.h"
#include "transfer/CopyVerifier.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

StagedTransfer::StagedTransfer(std::unique_ptr<StagedFile> staged, const QString& source,
                               bool removesSource)
    : m_staged(std::move(staged))
    , m_source(source)
    , m_destination(m_staged->destinationPath())
    , m_removesSource(removesSource) {}

StagedTransfer::StagedTransfer(const QString& source, const QString& destination)
    : m_source(source)
    , m_destination(destination) {}

StagedTransfer::~StagedTransfer() = default;

std::unique_ptr<StagedTransfer> StagedTransfer::renaming(const QString& source,
                                                         const QString& destination) {
    return std::unique_ptr<StagedTransfer>(new StagedTransfer(source, destination));
}

QString StagedTransfer::temporaryPath() const {
    return m_staged ? m_staged->temporaryPath() : QString();
}

bool StagedTransfer::flush() const {
    if (!m_staged)
        return true;
    const int fd =
        ::open(QFile::encodeName(m_staged->temporaryPath()).constData(), O_RDONLY | O_CLOEXEC);
    const bool flushed = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    return flushed;
}

bool StagedTransfer::holds() const {
    if (!m_staged)
        return true;
    const QString copy = m_staged->temporaryPath();
    const QString name = QFileInfo(m_source).fileName();
    if (m_expectedHash) {
        const std::optional<quint64> written = CopyVerifier::hashOfFile(copy, true);
        if (written && *written == *m_expectedHash)
            return true;
        qCWarning(lcCamera).noquote()
            << QStringLiteral("%1: the copy read back differs from what was written").arg(name);
        return false;
    }
    if (!m_checksSource || CopyVerifier::copyMatches(m_source, copy))
        return true;
    qCWarning(lcCamera).noquote()
        << QStringLiteral("%1: the copy read back differs from the source; removed, the source "
                          "kept")
               .arg(name);
    return false;
}

bool StagedTransfer::publish(bool replaceExisting) {
    m_published = m_staged ? m_staged->publish(replaceExisting)
                           : StagedFile::renameInto(m_source, m_destination, replaceExisting);
    return m_published;
}

void StagedTransfer::removeSource() {
    if (!m_published || !m_removesSource)
        return;
    m_removesSource = false;
    if (::unlink(QFile::encodeName(m_source).constData()) != 0) {
        // The file has arrived; a source that stays behind loses nothing.
        qCWarning(lcCamera) << "copied" << m_source << "but cannot remove it:" << strerror(errno);
    }
}
