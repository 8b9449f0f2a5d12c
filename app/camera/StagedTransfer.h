// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>
#include <optional>

class StagedFile;

// One file on its way to its destination, written but neither flushed nor
// published: a copy under a hidden temporary name beside the destination,
// or a source on the destination's own file system that a rename moves
// when it is published. The caller flushes the copy (alone with flush(), or
// many at once with syncfs), checks it (holds()), publishes it, flushes the
// destination's folder, and only then removes a moved source. Dropped
// unpublished, it removes its temporary file and leaves the source alone.
// One thread at a time.
class StagedTransfer {
public:
    // A copy of `source` written to `staged`; a move's copy removes the
    // source in removeSource().
    StagedTransfer(std::unique_ptr<StagedFile> staged, const QString& source, bool removesSource);
    // A move by one rename of `source` to `destination` (one file system).
    static std::unique_ptr<StagedTransfer> renaming(const QString& source,
                                                    const QString& destination);
    ~StagedTransfer();
    StagedTransfer(const StagedTransfer&) = delete;
    StagedTransfer& operator=(const StagedTransfer&) = delete;

    // How holds() checks the copy once it is on the disk: against the
    // source read again, or against the hash of the bytes written (a
    // picture turned on the way).
    void checkAgainstSource() { m_checksSource = true; }
    void checkAgainstHash(quint64 hash) { m_expectedHash = hash; }

    QString destinationPath() const { return m_destination; }
    // The file written, empty for a rename.
    QString temporaryPath() const;
    bool isCopy() const { return m_staged != nullptr; }

    // fsyncs the copy; for a transfer flushed on its own.
    bool flush() const;
    // True when the copy, read back from the disk, is what it should be
    // (always without a check, and for a rename). Call after the flush.
    bool holds() const;
    // Moves the file under its final name; an existing file is replaced
    // only with `replaceExisting`.
    bool publish(bool replaceExisting);
    // After publish() and the flush of the destination's folder: removes
    // a moved source (a rename has none left).
    void removeSource();

private:
    StagedTransfer(const QString& source, const QString& destination);

    std::unique_ptr<StagedFile> m_staged;
    QString m_source;
    QString m_destination;
    bool m_removesSource = false;
    bool m_checksSource = false;
    std::optional<quint64> m_expectedHash;
    bool m_published = false;
};
