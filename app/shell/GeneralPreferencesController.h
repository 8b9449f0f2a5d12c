// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PreferencesPane.h"

#include "StartAtLoginController.h"

#include <QWidget>

#include <memory>

namespace Ui {
class GeneralPreferences;
}

// The General pane: the login item that watches for camera cards, and the
// JPEG quality used whenever a picture is saved again. Main thread.
class GeneralPreferencesController : public QWidget, public PreferencesPane {
    Q_OBJECT
public:
    explicit GeneralPreferencesController(QWidget* parent = nullptr);
    ~GeneralPreferencesController() override;

    QString identifier() const override { return QStringLiteral("GeneralPreferences"); }
    QIcon toolbarItemImage() const override;
    QString toolbarItemLabel() const override;
    QWidget* view() override { return this; }

    StartAtLoginController& loginController() { return m_login; }

    // The login item's Exec line: the launcher beside this program.
    static QString launcherCommand();

public Q_SLOTS:
    void onAutoTransfer(bool checked);

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::GeneralPreferences> m_ui;
    StartAtLoginController m_login;
};
