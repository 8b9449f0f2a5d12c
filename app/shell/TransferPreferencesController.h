// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PreferencesPane.h"

#include <QWidget>

#include <functional>
#include <memory>

class TooltipHelper;

namespace Ui {
class TransferPreferences;
}

// The Transfer pane: destination pattern, overwrite mode, auto-rotation,
// browsing afterwards, verified copies, and the pattern help beside the help button.
// Main thread.
class TransferPreferencesController : public QWidget, public PreferencesPane {
    Q_OBJECT
public:
    explicit TransferPreferencesController(QWidget* parent = nullptr);
    ~TransferPreferencesController() override;

    QString identifier() const override { return QStringLiteral("TransferPreferences"); }
    QIcon toolbarItemImage() const override;
    QString toolbarItemLabel() const override;
    QWidget* view() override { return this; }

    // Toggles the pattern help attached to the help button.
    void showHelp();
    bool isHelpVisible() const;

    // Overwrite modes in the order of their values: ask, replace, skip.
    static QStringList overwriteModeTitles();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void comboBoxSelectionDidChange(int index);
    void hideHelp();

    std::unique_ptr<Ui::TransferPreferences> m_ui;
    TooltipHelper* m_tooltip = nullptr;
};
