// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GPhotoDownloadOptions.h"
#include "GPhotoFile.h"

#include <QString>

#include <atomic>
#include <optional>

class GPhotoSession;

// Downloads one catalogue file into a folder on the device's worker thread.
// The bytes stream straight into a hidden temporary file beside the target
// (no whole file in memory, sizes in 64 bits), which is flushed, checked
// against the size the device reports and only then renamed into place.
// The file is deleted on the device only after that.
class GPhotoDownload {
public:
    GPhotoDownload(GPhotoSession& session, const GPhotoFile& file, GPhotoDownloadOptions options);

    // None on success, else a one-line reason. `abandoned` is checked
    // before anything is put in place: once the request has been given up
    // (device removed), nothing appears under a final name.
    std::optional<QString> run(const std::atomic<bool>& abandoned);
    // True once run() has removed the file from the device.
    bool deletedOnDevice() const { return m_deleted; }

private:
    std::optional<QString> fetch(const QString& name, const QString& destination, bool overwrite,
                                 const std::atomic<bool>& abandoned);
    bool deleteOnDevice(const QString& name);

    GPhotoSession& m_session;
    const GPhotoFile& m_file;
    const GPhotoDownloadOptions m_options;
    bool m_deleted = false;
};
