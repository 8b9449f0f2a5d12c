// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/SetupPage.h"

#include <QWidget>

#include <memory>

class QButtonGroup;
class QDoubleSpinBox;
class QSpinBox;
class UserDefaults;
struct BatchOptions;

namespace Ui {
class BatchResize;
}

// The batch wizard's first page: no resizing, the longer side to a pixel
// size, or both sides by a percentage. The fields come from the settings
// store it is given; the option row always starts at "no resizing".
// Main thread.
class BatchResizeController : public QWidget, public SetupPage {
    Q_OBJECT

public:
    // The option rows, also the ids in resizeOptions().
    enum Row { rowNone = 0, rowPixels = 1, rowPercentage = 2 };

    explicit BatchResizeController(UserDefaults& settings, QWidget* parent = nullptr);
    ~BatchResizeController() override;

    QButtonGroup* resizeOptions() const;
    QSpinBox* resizePixels() const;
    QDoubleSpinBox* resizePercentage() const;

    int resizeRow() const;
    void setResizeRow(int row);

    // Enables the field of the chosen row only and gives it the focus.
    void resizeChanged();
    // Stores the chosen row's field; nothing for "no resizing".
    void save();
    // The page's choices into `options`.
    void applyTo(BatchOptions& options) const;

private:
    void loadView();

    std::unique_ptr<Ui::BatchResize> m_ui;
    UserDefaults& m_settings;
};
