// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WaitFor.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

// Shared set-up of the transfer window tests: private settings with the
// registered defaults, a temporary folder (holding the import history), generated camera cards, and
// helpers for waiting on workers and answering modal alerts.
class TransferUiFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString path(const QString& relative) const { return m_dir.filePath(relative); }

    // A card folder "card" holding DCIM/100TEST/IMG_000<n>.JPG, one JPEG
    // per date (taken then, by its EXIF date); returns the card's path.
    QString writeCard(const QList<QDateTime>& dates);

    // Runs `action` while answering every modal message box with its
    // default button; returns their texts in order.
    static QStringList answeringAlerts(const std::function<void()>& action);

    QTemporaryDir m_dir;
};
