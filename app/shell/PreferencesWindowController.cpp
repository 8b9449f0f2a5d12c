// SPDX-License-Identifier: GPL-3.0-or-later
#include "PreferencesWindowController.h"

#include "PreferencesPane.h"

#include <QAction>
#include <QActionGroup>
#include <QStackedWidget>
#include <QToolBar>
#include <QWidget>

PreferencesWindowController::PreferencesWindowController(const QList<PreferencesPane*>& panes,
                                                         const QString& title, QWidget* parent)
    : QMainWindow(parent)
    , paneList(panes)
    , stack(new QStackedWidget(this))
    , items(new QActionGroup(this)) {
    setWindowTitle(title);
    setObjectName(QStringLiteral("Preferences"));
    auto* toolbar = addToolBar(title);
    toolbar->setObjectName(QStringLiteral("PreferencesToolbar"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar->toggleViewAction()->setEnabled(false);
    items->setExclusive(true);

    for (int i = 0; i < paneList.size(); ++i) {
        PreferencesPane* pane = paneList.at(i);
        stack->addWidget(pane->view());
        QAction* item = toolbar->addAction(pane->toolbarItemImage(), pane->toolbarItemLabel());
        item->setObjectName(pane->identifier());
        item->setCheckable(true);
        items->addAction(item);
        connect(item, &QAction::triggered, this, [this, i] { showPaneAt(i); });
    }
    setCentralWidget(stack);
    if (!paneList.isEmpty())
        showPaneAt(0);
}

void PreferencesWindowController::showWindow() {
    show();
    raise();
    activateWindow();
}

void PreferencesWindowController::selectPane(const QString& identifier) {
    for (int i = 0; i < paneList.size(); ++i) {
        if (paneList.at(i)->identifier() == identifier)
            showPaneAt(i);
    }
}

QString PreferencesWindowController::selectedPaneIdentifier() const {
    const int index = stack->currentIndex();
    return index >= 0 && index < paneList.size() ? paneList.at(index)->identifier() : QString();
}

void PreferencesWindowController::showPaneAt(int index) {
    stack->setCurrentIndex(index);
    items->actions().at(index)->setChecked(true);
    // Each pane keeps its own natural size, as in most desktop preferences.
    QWidget* view = paneList.at(index)->view();
    stack->setFixedSize(view->sizeHint().expandedTo(view->minimumSizeHint()));
    adjustSize();
}
