// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QString>

class QWidget;

// What the preferences window needs of each pane: a name for the tool bar
// and the view to show. Panes write their settings the moment a control
// changes; there is no apply step.
class PreferencesPane {
public:
    virtual ~PreferencesPane() = default;
    virtual QString identifier() const = 0;
    virtual QIcon toolbarItemImage() const = 0;
    virtual QString toolbarItemLabel() const = 0;
    virtual QWidget* view() = 0;
};
