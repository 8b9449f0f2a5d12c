// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/SetupPage.h"

#include <QString>
#include <QWidget>

#include <memory>

class QCheckBox;
class QFileDialog;
class QLineEdit;
class UserDefaults;
struct BatchOptions;

namespace Ui {
class BatchOutput;
}

// The batch wizard's third page: the destination folder (starting at the
// folder the pictures come from), the suffix added to the names, and
// whether the originals go to the Trash. A warning shows while the new
// pictures would take the names of the originals in their own folder.
// Its continue button starts the run; it is enabled while the destination
// names an existing folder. Main thread.
class BatchOutputController : public QWidget, public SetupPage {
    Q_OBJECT

public:
    BatchOutputController(const QString& destinationPath, UserDefaults& settings,
                          QWidget* parent = nullptr);
    ~BatchOutputController() override;

    // The folder the pictures come from; the reference of the warning.
    QString initialPath() const { return m_initialPath; }

    QLineEdit* destinationPath() const;
    QCheckBox* renameFiles() const;
    QLineEdit* renameSuffix() const;
    QCheckBox* deleteOriginals() const;
    QWidget* overwriteWarning() const;
    // The open folder chooser, if any.
    QFileDialog* destinationChooser() const { return m_chooser; }

    bool canContinue() const override;
    QString continueButtonTitle() const override;
    void setSetupWindow(SetupWindow* window) override { m_window = window; }

    // Shows the warning exactly when the destination is the initial path
    // (as text), no suffix is added and the originals stay.
    void checkOverwrite();
    // A folder chooser, modal for the page's window, starting at the
    // destination; the chosen folder becomes the destination.
    void chooseDestination();
    // Stores the boxes, and the suffix while renaming is on.
    void save();
    void applyTo(BatchOptions& options) const;

private:
    void loadView();
    // The inputs changed: warning, suffix field and buttons follow.
    void inputChanged();

    std::unique_ptr<Ui::BatchOutput> m_ui;
    UserDefaults& m_settings;
    QString m_initialPath;
    SetupWindow* m_window = nullptr;
    QFileDialog* m_chooser = nullptr;
};
