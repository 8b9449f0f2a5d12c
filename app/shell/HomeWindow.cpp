// SPDX-License-Identifier: GPL-3.0-or-later
#include "HomeWindow.h"

#include "Localization.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

using Localization::localizedString;

HomeWindow::HomeWindow(QWidget* parent)
    : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Pixhaul"));
    setObjectName(QStringLiteral("HomeWindow"));

    auto* importAction = new QAction(localizedString("IMPORT_FROM_CARD"), this);
    importAction->setObjectName(QStringLiteral("importAction"));
    importAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+I")));
    connect(importAction, &QAction::triggered, this, &HomeWindow::chooseImportSource);
    auto* browseAction = new QAction(localizedString("OPEN_PICTURES_FOLDER"), this);
    browseAction->setObjectName(QStringLiteral("browseAction"));
    connect(browseAction, &QAction::triggered, this, &HomeWindow::browseRequested);
    auto* preferencesAction =
        new QAction(localizedString("Preferences") + QStringLiteral("…"), this);
    preferencesAction->setObjectName(QStringLiteral("preferencesAction"));
    preferencesAction->setShortcut(QKeySequence::Preferences);
    preferencesAction->setMenuRole(QAction::PreferencesRole);
    connect(preferencesAction, &QAction::triggered, this, &HomeWindow::preferencesRequested);
    auto* aboutAction = new QAction(localizedString("ABOUT_PIXHAUL"), this);
    aboutAction->setObjectName(QStringLiteral("aboutAction"));
    connect(aboutAction, &QAction::triggered, this, &HomeWindow::aboutRequested);
    auto* quitAction = new QAction(localizedString("Quit"), this);
    quitAction->setShortcut(QKeySequence::Quit);
    connect(quitAction, &QAction::triggered, qApp, &QApplication::closeAllWindows);

    QMenu* fileMenu = menuBar()->addMenu(localizedString("MENU_FILE"));
    fileMenu->addAction(importAction);
    fileMenu->addAction(browseAction);
    fileMenu->addSeparator();
    fileMenu->addAction(quitAction);
    menuBar()->addMenu(localizedString("MENU_EDIT"))->addAction(preferencesAction);
    menuBar()->addMenu(localizedString("MENU_HELP"))->addAction(aboutAction);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* intro = new QLabel(localizedString("HOME_INTRO"), central);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    for (QAction* action : {importAction, browseAction, preferencesAction}) {
        auto* button = new QPushButton(action->text(), central);
        button->setObjectName(action->objectName() + QStringLiteral("Button"));
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        layout->addWidget(button);
    }
    layout->addStretch();
    setCentralWidget(central);
}

void HomeWindow::chooseImportSource() {
    auto* dialog = new QFileDialog(this, localizedString("IMPORT_FROM_CARD"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    const QStringList media = QStandardPaths::standardLocations(QStandardPaths::HomeLocation);
    dialog->setDirectory(QDir(QStringLiteral("/media")).exists() ? QStringLiteral("/media")
                                                                 : media.value(0));
    connect(dialog, &QFileDialog::fileSelected, this, &HomeWindow::importRequested);
    dialog->open();
}
