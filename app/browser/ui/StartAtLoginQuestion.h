// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;
class StartAtLoginController;
class UserDefaults;

// The one question a new user gets: whether Pixhaul's launcher starts at
// login. Asked in a sheet on the browser window when the setting
// "first_run" is absent, which is then recorded at once, whatever the
// answer. Main thread.
class StartAtLoginQuestion {
public:
    // Shows the sheet and answers true when this is the first run; the
    // answer goes to `login` (which must outlive the sheet) when the sheet
    // ends: first switched off, then on for "Yes".
    static bool askIfFirstRun(UserDefaults& settings, QWidget* window,
                              StartAtLoginController& login);
};
