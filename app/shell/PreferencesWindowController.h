// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QMainWindow>

class PreferencesPane;
class QActionGroup;
class QStackedWidget;

// The preferences window: a tool bar with one item per pane, in order,
// switching a stack of the panes' views. Owns the panes. Main thread.
class PreferencesWindowController : public QMainWindow {
    Q_OBJECT
public:
    // Takes ownership of the panes (QWidget views parented to the window).
    PreferencesWindowController(const QList<PreferencesPane*>& panes, const QString& title,
                                QWidget* parent = nullptr);

    void showWindow();
    void selectPane(const QString& identifier);
    QString selectedPaneIdentifier() const;
    const QList<PreferencesPane*>& panes() const { return m_paneList; }

private:
    void showPaneAt(int index);

    QList<PreferencesPane*> m_paneList;
    QStackedWidget* m_stack;
    QActionGroup* m_items;
};
