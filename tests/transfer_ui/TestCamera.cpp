// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestCamera.h"

TestCamera::TestCamera(const QList<std::shared_ptr<TestCameraFile>>& list) {
    for (const auto& file : list)
        m_files.append(file);
}

TestCamera::TestCamera(QList<CameraFilePtr> list)
    : m_files(std::move(list)) {}

QList<CameraFilePtr> TestCamera::getFilesButImagesOnly(bool, bool stopAtFirst) {
    QList<CameraFilePtr> listed;
    for (const auto& file : m_files) {
        listed.append(file);
        if (stopAtFirst)
            break;
    }
    return listed;
}
