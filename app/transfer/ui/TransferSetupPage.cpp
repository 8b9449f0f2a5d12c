// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferSetupPage.h"

#include "ui_TransferAssistant.h"
#include "ui_TransferMaskTip.h"

#include "Localization.h"
#include "UserDefaults.h"
#include "settings/SettingsKeys.h"
#include "widgets/ApplicationUtils.h"
#include "widgets/AttachedWindow.h"
#include "widgets/TooltipHelper.h"
#include "widgets/ViewUtils.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

constexpr char maskTipName[] = "TransferMaskTip";

// The folder a chooser opens in for a field's text: a pattern such as
// "~/Pictures/[%Y]" names no folder yet, so its nearest existing parent.
QString startingFolder(const QString& text) {
    QString folder = text;
    if (folder == QLatin1String("~") || folder.startsWith(QLatin1String("~/")))
        folder.replace(0, 1, QDir::homePath());
    folder = QDir::cleanPath(folder);
    while (!folder.isEmpty() && !QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            break;
        folder = parent;
    }
    return folder;
}

} // namespace

TransferSetupPage::TransferSetupPage(Ui::TransferAssistant& form, QWidget* owner)
    : QObject(owner)
    , m_ui(form)
    , m_window(owner) {
    connect(m_ui.sourceButton, &QPushButton::clicked, this, &TransferSetupPage::chooseSource);
    connect(m_ui.destinationButton, &QPushButton::clicked, this,
            &TransferSetupPage::chooseDestination);
    connect(m_ui.helpButton, &QToolButton::clicked, this, &TransferSetupPage::showMaskHelp);
}

TransferSetupPage::~TransferSetupPage() = default;

void TransferSetupPage::load(const QString& sourcePath, bool hasCamera) {
    UserDefaults& settings = UserDefaults::standardUserDefaults();
    m_ui.source->setText(sourcePath);
    m_ui.destination->setText(
        settings.stringForKey(QLatin1String(SettingsKeys::transfer_destination)));
    const qint64 mode = settings.integerForKey(QLatin1String(SettingsKeys::transfer_mode));
    m_ui.transferMode->setCurrentIndex(mode > 0 ? 1 : 0);
    hideHistory(hasCamera);
}

void TransferSetupPage::hideHistory(bool hasCamera) {
    m_ui.source->setEnabled(!hasCamera);
    m_ui.sourceButton->setEnabled(!hasCamera);
    m_ui.transferMode->setEnabled(true);
    m_ui.historyCounts->hide();
    m_ui.newOnly->hide();
}

void TransferSetupPage::showHistory(int newFiles, int importedFiles) {
    m_ui.historyCounts->setText(
        Localization::localizedString("TRANSFER_HISTORY_COUNTS").arg(newFiles).arg(importedFiles));
    m_ui.newOnly->setText(Localization::localizedString("TRANSFER_NEW_ONLY"));
    m_ui.newOnly->setChecked(importedFiles > 0);
    m_ui.historyCounts->show();
    m_ui.newOnly->show();
    // What was counted stays what is transferred.
    m_ui.source->setEnabled(false);
    m_ui.sourceButton->setEnabled(false);
    m_ui.transferMode->setEnabled(false);
}

bool TransferSetupPage::newOnly() const {
    return !m_ui.newOnly->isHidden() && m_ui.newOnly->isChecked();
}

bool TransferSetupPage::validate(bool hasCamera) {
    if (!hasCamera) {
        const QString source = sourceText();
        if (source.isEmpty() || !QFileInfo(source).isDir()) {
            ApplicationUtils::alert(
                Localization::localizedString("Source folder must be a valid folder"),
                ApplicationUtils::AlertStyleWarning, m_window);
            m_ui.source->setFocus();
            return false;
        }
    }
    if (destinationText().isEmpty()) {
        ApplicationUtils::alert(
            Localization::localizedString("Destination folder must not be empty"),
            ApplicationUtils::AlertStyleWarning, m_window);
        m_ui.destination->setFocus();
        return false;
    }
    return true;
}

TransferMode TransferSetupPage::acceptMode() {
    const TransferMode mode =
        m_ui.transferMode->currentIndex() != 0 ? TransferModeMove : TransferModeCopy;
    UserDefaults::standardUserDefaults().setInteger(mode,
                                                    QLatin1String(SettingsKeys::transfer_mode));
    return mode;
}

QString TransferSetupPage::sourceText() const {
    return m_ui.source->text();
}

QString TransferSetupPage::destinationText() const {
    return m_ui.destination->text();
}

void TransferSetupPage::chooseSource() {
    chooseFolder(m_ui.source, false);
}

void TransferSetupPage::chooseDestination() {
    chooseFolder(m_ui.destination, true);
}

void TransferSetupPage::chooseFolder(QLineEdit* field, bool canCreateFolders) {
    auto* chooser = new QFileDialog(m_window);
    chooser->setAttribute(Qt::WA_DeleteOnClose);
    chooser->setWindowModality(Qt::WindowModal);
    chooser->setFileMode(QFileDialog::Directory);
    QFileDialog::Options options = QFileDialog::ShowDirsOnly;
    // A read-only chooser offers no "new folder" button.
    if (!canCreateFolders)
        options |= QFileDialog::ReadOnly;
    chooser->setOptions(options);
    chooser->setDirectory(startingFolder(field->text()));
    connect(chooser, &QFileDialog::fileSelected, field, [field](const QString& folder) {
        if (!folder.isEmpty())
            field->setText(folder);
    });
    chooser->open();
}

void TransferSetupPage::showMaskHelp() {
    if (isMaskHelpVisible()) {
        hideMaskHelp();
        return;
    }
    if (!m_tooltip) {
        ViewUtils::registerForm<Ui::TransferMaskTip>(QLatin1String(maskTipName));
        m_tooltip = new TooltipHelper(this);
    }
    m_tooltip->showTooltipFromNib(QLatin1String(maskTipName), m_window, m_ui.helpButton,
                                  AttachedWindow::SideRight);
}

bool TransferSetupPage::isMaskHelpVisible() const {
    return m_tooltip && m_tooltip->isTooltipVisible();
}

void TransferSetupPage::hideMaskHelp() {
    if (m_tooltip)
        m_tooltip->hideTooltip();
}
