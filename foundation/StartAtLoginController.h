// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Registers a program to start when the user logs in, as an XDG autostart
// entry "<identifier>.desktop" in $XDG_CONFIG_HOME/autostart. Main thread.
class StartAtLoginController {
public:
    // Binds the controller to the program; creating it changes nothing.
    // `command` is the Exec line of the entry.
    StartAtLoginController(const QString& identifier, const QString& command);

    // True exactly when an enabled autostart entry for the program exists.
    bool startAtLogin() const;
    // Writes (true) or removes (false) the entry at once; false on failure.
    bool setStartAtLogin(bool start);

    // Whether the controls bound to this controller accept changes.
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool value) { m_enabled = value; }

    QString entryPath() const;
    QString identifier() const { return m_programIdentifier; }

private:
    QString m_programIdentifier;
    QString m_execCommand;
    bool m_enabled = true;
};
