// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/SetupPage.h"

#include <QWidget>

#include <memory>

class QCheckBox;
class QComboBox;
class UserDefaults;
struct BatchOptions;

namespace Ui {
class BatchConvert;
}

// The batch wizard's second page: the output format (same as the source,
// JPEG or PNG; always starts at "same") and whether EXIF data is copied.
// Main thread.
class BatchConvertController : public QWidget, public SetupPage {
    Q_OBJECT

public:
    // The format items, in the pop-up's order.
    enum Item { itemSame = 0, itemJpeg = 1, itemPng = 2 };

    explicit BatchConvertController(UserDefaults& settings, QWidget* parent = nullptr);
    ~BatchConvertController() override;

    QComboBox* imageFormat() const;
    QCheckBox* exifCopy() const;

    // Stores the EXIF box.
    void save();
    void applyTo(BatchOptions& options) const;

private:
    void loadView();

    std::unique_ptr<Ui::BatchConvert> m_ui;
    UserDefaults& m_settings;
};
