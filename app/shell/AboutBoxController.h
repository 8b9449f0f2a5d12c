// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class AboutBox;
}

// The about box: the program's name and "Version x (Build y)". Main thread.
class AboutBoxController : public QDialog {
    Q_OBJECT
public:
    explicit AboutBoxController(QWidget* parent = nullptr);
    ~AboutBoxController() override;

    static QString bundleVersionNumber();
    void showWindow();

private:
    std::unique_ptr<Ui::AboutBox> m_ui;
};
