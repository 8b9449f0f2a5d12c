// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class SetupWindow;

// What a wizard page may answer to its SetupWindow. A page is any QWidget;
// a page that also derives from SetupPage is asked these questions, the
// others get the defaults below. Call SetupWindow::updateButtons() after a
// change of canContinue or canGoBack. Main thread.
class SetupPage {
public:
    virtual ~SetupPage() = default;

    // May the user leave the page forwards (default yes).
    virtual bool canContinue() const { return true; }
    // May the user go back from the page (default yes; never on the first).
    virtual bool canGoBack() const { return true; }
    // The continue button's text on this page; empty for the window's own
    // ("Continue", "Done" on the last page).
    virtual QString continueButtonTitle() const { return {}; }
    // The page has just been shown.
    virtual void didProgressToStage() {}
    // Called once, when the window takes the page; the window outlives
    // nothing but its pages, so pages may keep the pointer.
    virtual void setSetupWindow(SetupWindow* window) { (void)window; }
};
