// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PrivateSettings.h"
#include "WaitFor.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class BatchProcessWindow;

// Shared set-up of the batch window tests: a private settings store with
// the registered defaults, a source and a destination folder, a Trash of
// the test's own, and helpers to build pictures and drive the wizard.
class BatchUiFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString source(const QString& name) const { return m_sources.filePath(name); }
    QString dest(const QString& name) const { return m_dest.filePath(name); }
    QString trashed(const QString& name) const;

    // A small JPEG `name` in the source folder; returns its path.
    QString writeJpeg(const QString& name, int width = 64, int height = 32) const;
    // A file `name` in the source folder with these bytes.
    QString writeFile(const QString& name, const QByteArray& bytes) const;

    // Presses Continue until the window shows page `stage`.
    static void continueTo(BatchProcessWindow& window, int stage);

    PrivateSettings m_settings;
    QTemporaryDir m_sources;
    QTemporaryDir m_dest;
    QTemporaryDir m_data;
    QByteArray m_previousDataHome;
};
