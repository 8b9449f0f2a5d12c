// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatchOutputController.h"

#include "ui_BatchOutput.h"

#include "Localization.h"
#include "UserDefaults.h"
#include "batch/BatchOptions.h"
#include "settings/SettingsKeys.h"
#include "widgets/SetupWindow.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStyle>

namespace {

constexpr int warningIconSize = 32;

// The folder a chooser opens in: the named one, else its nearest
// existing parent, else the home folder.
QString startingFolder(const QString& text) {
    QString folder = QDir::cleanPath(text.trimmed());
    while (!folder.isEmpty() && QDir::isAbsolutePath(folder) && !QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            break;
        folder = parent;
    }
    return QFileInfo(folder).isDir() && QDir::isAbsolutePath(folder) ? folder : QDir::homePath();
}

} // namespace

BatchOutputController::BatchOutputController(const QString& destinationPath, UserDefaults& settings,
                                             QWidget* parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::BatchOutput>())
    , m_settings(settings)
    , m_initialPath(destinationPath) {
    m_ui->setupUi(this);
    m_ui->warningIcon->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(warningIconSize));
    // The page keeps the warning's room, so it never jumps when it shows.
    QSizePolicy policy = m_ui->overwriteWarning->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    m_ui->overwriteWarning->setSizePolicy(policy);
    loadView();
    connect(m_ui->destinationPath, &QLineEdit::textChanged, this,
            &BatchOutputController::inputChanged);
    connect(m_ui->renameSuffix, &QLineEdit::textChanged, this,
            &BatchOutputController::inputChanged);
    connect(m_ui->renameFiles, &QCheckBox::toggled, this, &BatchOutputController::inputChanged);
    connect(m_ui->deleteOriginals, &QCheckBox::toggled, this, &BatchOutputController::inputChanged);
    connect(m_ui->chooseButton, &QPushButton::clicked, this,
            &BatchOutputController::chooseDestination);
}

BatchOutputController::~BatchOutputController() = default;

void BatchOutputController::loadView() {
    using namespace SettingsKeys;
    m_ui->destinationPath->setText(m_initialPath);
    m_ui->renameFiles->setChecked(m_settings.boolForKey(QLatin1String(batch_rename_files)));
    m_ui->renameSuffix->setText(m_settings.stringForKey(QLatin1String(batch_rename_suffix)));
    m_ui->deleteOriginals->setChecked(m_settings.boolForKey(QLatin1String(batch_delete_originals)));
    inputChanged();
}

QLineEdit* BatchOutputController::destinationPath() const {
    return m_ui->destinationPath;
}

QCheckBox* BatchOutputController::renameFiles() const {
    return m_ui->renameFiles;
}

QLineEdit* BatchOutputController::renameSuffix() const {
    return m_ui->renameSuffix;
}

QCheckBox* BatchOutputController::deleteOriginals() const {
    return m_ui->deleteOriginals;
}

QWidget* BatchOutputController::overwriteWarning() const {
    return m_ui->overwriteWarning;
}

bool BatchOutputController::canContinue() const {
    // An empty or relative destination would put the pictures somewhere
    // the user never chose.
    const QString folder = m_ui->destinationPath->text();
    return QDir::isAbsolutePath(folder) && QFileInfo(folder).isDir();
}

QString BatchOutputController::continueButtonTitle() const {
    return Localization::localizedString("BATCH_PROCESS_START");
}

void BatchOutputController::inputChanged() {
    m_ui->renameSuffix->setEnabled(m_ui->renameFiles->isChecked());
    checkOverwrite();
    if (m_window)
        m_window->updateButtons();
}

void BatchOutputController::checkOverwrite() {
    const bool sameFolder = m_ui->destinationPath->text() == m_initialPath;
    const bool sameNames = !m_ui->renameFiles->isChecked() || m_ui->renameSuffix->text().isEmpty();
    const bool originalsStay = !m_ui->deleteOriginals->isChecked();
    m_ui->overwriteWarning->setHidden(!(sameFolder && sameNames && originalsStay));
}

void BatchOutputController::chooseDestination() {
    if (m_chooser)
        return;
    m_chooser = new QFileDialog(window());
    m_chooser->setAttribute(Qt::WA_DeleteOnClose);
    m_chooser->setWindowModality(Qt::WindowModal);
    m_chooser->setFileMode(QFileDialog::Directory);
    m_chooser->setOption(QFileDialog::ShowDirsOnly);
    m_chooser->setDirectory(startingFolder(m_ui->destinationPath->text()));
    connect(m_chooser, &QFileDialog::fileSelected, this, [this](const QString& folder) {
        if (folder.isEmpty())
            return;
        m_ui->destinationPath->setText(QDir::cleanPath(folder));
        checkOverwrite();
    });
    connect(m_chooser, &QObject::destroyed, this, [this] { m_chooser = nullptr; });
    m_chooser->open();
}

void BatchOutputController::save() {
    using namespace SettingsKeys;
    const bool rename = m_ui->renameFiles->isChecked();
    m_settings.setBool(rename, QLatin1String(batch_rename_files));
    if (rename)
        m_settings.setObject(m_ui->renameSuffix->text(), QLatin1String(batch_rename_suffix));
    m_settings.setBool(m_ui->deleteOriginals->isChecked(), QLatin1String(batch_delete_originals));
}

void BatchOutputController::applyTo(BatchOptions& options) const {
    options.destinationFolder = m_ui->destinationPath->text();
    options.renameFiles = m_ui->renameFiles->isChecked();
    options.renameSuffix = m_ui->renameSuffix->text();
    options.deleteOriginals = m_ui->deleteOriginals->isChecked();
}
