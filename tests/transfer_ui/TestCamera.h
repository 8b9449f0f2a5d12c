// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TestCameraFile.h"

#include "camera/Camera.h"

#include <memory>

// A camera listing the test's own files, in the order given.
class TestCamera : public Camera {
public:
    explicit TestCamera(const QList<std::shared_ptr<TestCameraFile>>& files);
    explicit TestCamera(QList<CameraFilePtr> files);

    QString title() override { return QStringLiteral("Test Camera"); }
    QList<CameraFilePtr> getFilesButImagesOnly(bool imagesOnly, bool stopAtFirst) override;

private:
    QList<CameraFilePtr> m_files;
};
