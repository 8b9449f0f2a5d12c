// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PreferencesPane.h"

#include <QColor>
#include <QWidget>

#include <memory>

namespace Ui {
class ViewerPreferences;
}

// The Viewer pane: background colour, transitions and the slide delay,
// stored for the full-screen viewer (not part of this build yet). Main
// thread.
class ViewerPreferencesController : public QWidget, public PreferencesPane {
    Q_OBJECT
public:
    explicit ViewerPreferencesController(QWidget* parent = nullptr);
    ~ViewerPreferencesController() override;

    QString identifier() const override { return QStringLiteral("ViewerPreferences"); }
    QIcon toolbarItemImage() const override;
    QString toolbarItemLabel() const override;
    QWidget* view() override { return this; }

    // Lives in the settings as "#rrggbb" under viewer_background.
    static QColor backgroundColor();
    void setBackgroundColor(const QColor& color);

private:
    void chooseBackgroundColor();
    void showBackgroundColor();

    std::unique_ptr<Ui::ViewerPreferences> m_ui;
};
