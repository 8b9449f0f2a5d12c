// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "camera/TransferMode.h"

#include <QObject>
#include <QString>

class QLineEdit;
class TooltipHelper;
class QWidget;

namespace Ui {
class TransferAssistant;
}

// The assistant's first page: source, destination folder pattern and
// transfer mode, the two folder choosers and the pattern help; after a
// scan, what the import history knows of the source. Main thread.
class TransferSetupPage : public QObject {
    Q_OBJECT

public:
    TransferSetupPage(Ui::TransferAssistant& ui, QWidget* window);
    ~TransferSetupPage() override;

    // Fills the page from the settings. With a camera the source is its
    // name and cannot be changed.
    void load(const QString& sourcePath, bool hasCamera);

    // Checks the fields, alerting about the first bad one. Without a
    // camera the source must name an existing folder, taken as typed (no
    // "~" expansion); the destination must not be empty.
    bool validate(bool hasCamera);

    // 0 copy, 1 move, as chosen; also stored as "transfer_mode".
    TransferMode acceptMode();

    QString sourceText() const;
    // The pattern as typed; it is not written back to the settings.
    QString destinationText() const;

    // Folder choosers shown as sheets; the field changes only on OK.
    void chooseSource();
    void chooseDestination();

    // After a scan that found files imported before: "N new, M already
    // imported" and the choice to import only the new ones (on). The
    // source and the mode are locked until the page is loaded again.
    void showHistory(int newFiles, int importedFiles);
    // Hides it again and unlocks the fields (the source only without a camera).
    void hideHistory(bool hasCamera);
    // Whether only the new files are wanted (false while not offered).
    bool newOnly() const;

    // Toggles the pattern help beside the help button.
    void showMaskHelp();
    bool isMaskHelpVisible() const;
    void hideMaskHelp();

private:
    void chooseFolder(QLineEdit* field, bool canCreateFolders);

    Ui::TransferAssistant& m_ui;
    QWidget* m_window;
    TooltipHelper* m_tooltip = nullptr;
};
