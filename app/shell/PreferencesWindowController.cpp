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
    , m_paneList(panes)
    , m_stack(new QStackedWidget(this))
    , m_items(new QActionGroup(this)) {
    setWindowTitle(title);
    setObjectName(QStringLiteral("Preferences"));
    auto* toolbar = addToolBar(title);
    toolbar->setObjectName(QStringLiteral("PreferencesToolbar"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar->toggleViewAction()->setEnabled(false);
    m_items->setExclusive(true);

    for (int i = 0; i < m_paneList.size(); ++i) {
        PreferencesPane* pane = m_paneList.at(i);
        m_stack->addWidget(pane->view());
        QAction* item = toolbar->addAction(pane->toolbarItemImage(), pane->toolbarItemLabel());
        item->setObjectName(pane->identifier());
        item->setCheckable(true);
        m_items->addAction(item);
        connect(item, &QAction::triggered, this, [this, i] { showPaneAt(i); });
    }
    setCentralWidget(m_stack);
    if (!m_paneList.isEmpty())
        showPaneAt(0);
}

void PreferencesWindowController::showWindow() {
    show();
    raise();
    activateWindow();
}

void PreferencesWindowController::selectPane(const QString& identifier) {
    for (int i = 0; i < m_paneList.size(); ++i) {
        if (m_paneList.at(i)->identifier() == identifier)
            showPaneAt(i);
    }
}

QString PreferencesWindowController::selectedPaneIdentifier() const {
    const int index = m_stack->currentIndex();
    return index >= 0 && index < m_paneList.size() ? m_paneList.at(index)->identifier() : QString();
}

void PreferencesWindowController::showPaneAt(int index) {
    m_stack->setCurrentIndex(index);
    m_items->actions().at(index)->setChecked(true);
    // Each pane keeps its own natural size, as in most desktop preferences.
    QWidget* view = m_paneList.at(index)->view();
    m_stack->setFixedSize(view->sizeHint().expandedTo(view->minimumSizeHint()));
    adjustSize();
}
