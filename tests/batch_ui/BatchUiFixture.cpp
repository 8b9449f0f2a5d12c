// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatchUiFixture.h"

#include "JpegFixture.h"
#include "TestFiles.h"

#include "batch/ui/BatchProcessWindow.h"
#include "settings/SettingsDefaults.h"

#include <QPushButton>

void BatchUiFixture::SetUp() {
    SettingsDefaults::registerDefaults(m_settings.store);
    m_previousDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", m_data.path().toUtf8());
}

void BatchUiFixture::TearDown() {
    qputenv("XDG_DATA_HOME", m_previousDataHome);
}

QString BatchUiFixture::trashed(const QString& name) const {
    return m_data.filePath(QStringLiteral("Trash/files/") + name);
}

QString BatchUiFixture::writeJpeg(const QString& name, int width, int height) const {
    JpegFixture::Options options;
    options.size = QSize(width, height);
    options.make = QStringLiteral("Pixhaul");
    EXPECT_TRUE(JpegFixture::write(source(name), options)) << name.toStdString();
    return source(name);
}

QString BatchUiFixture::writeFile(const QString& name, const QByteArray& bytes) const {
    EXPECT_TRUE(TestFiles::write(source(name), bytes)) << name.toStdString();
    return source(name);
}

void BatchUiFixture::continueTo(BatchProcessWindow& window, int stage) {
    while (window.currentStage() < stage) {
        const int before = window.currentStage();
        ASSERT_TRUE(window.continueButton()->isEnabled()) << "stuck on page " << before;
        window.continueButton()->click();
        ASSERT_GT(window.currentStage(), before);
    }
}
