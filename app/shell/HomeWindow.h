// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>

class QPushButton;

// The window Pixhaul opens when it is started by hand: import from a card
// or folder, open the pictures folder, preferences and about box. It stands
// in for the image browser until that exists. Main thread.
class HomeWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit HomeWindow(QWidget* parent = nullptr);

Q_SIGNALS:
    // A card or folder the user chose to import from.
    void importRequested(const QString& path);
    void browseRequested();
    void preferencesRequested();
    void aboutRequested();

private:
    void chooseImportSource();
};
