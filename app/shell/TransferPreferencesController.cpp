// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferPreferencesController.h"

#include "ApplicationInterfaces.h"
#include "settings/SettingsKeys.h"
#include "ui_TransferPreferences.h"

#include "Localization.h"
#include "UserDefaults.h"
#include "widgets/TooltipHelper.h"

#include <QApplication>

TransferPreferencesController::TransferPreferencesController(QWidget* parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::TransferPreferences>()) {
    m_ui->setupUi(this);
    UserDefaults& settings = UserDefaults::standardUserDefaults();

    m_ui->overwriteMode->addItems(overwriteModeTitles());
    const qint64 mode = settings.integerForKey(SettingsKeys::transfer_overwrite_mode);
    m_ui->overwriteMode->setCurrentIndex(
        mode >= 0 && mode < m_ui->overwriteMode->count() ? int(mode) : -1);
    connect(m_ui->overwriteMode, &QComboBox::currentIndexChanged, this,
            &TransferPreferencesController::comboBoxSelectionDidChange);

    m_ui->destination->setText(settings.stringForKey(SettingsKeys::transfer_destination));
    connect(m_ui->destination, &QLineEdit::textEdited, this, [](const QString& text) {
        UserDefaults& store = UserDefaults::standardUserDefaults();
        // An empty pattern would name no folder at all: fall back to the default.
        if (text.trimmed().isEmpty())
            store.removeObjectForKey(SettingsKeys::transfer_destination);
        else
            store.setObject(text, SettingsKeys::transfer_destination);
    });

    m_ui->rotate->setChecked(settings.boolForKey(SettingsKeys::transfer_rotate));
    connect(m_ui->rotate, &QCheckBox::toggled, this, [](bool on) {
        UserDefaults::standardUserDefaults().setBool(on, SettingsKeys::transfer_rotate);
    });
    m_ui->browse->setChecked(settings.boolForKey(SettingsKeys::transfer_browse));
    connect(m_ui->browse, &QCheckBox::toggled, this, [](bool on) {
        UserDefaults::standardUserDefaults().setBool(on, SettingsKeys::transfer_browse);
    });
    // Moves always verify; this covers copies, which leave the card as it is.
    m_ui->verify->setText(Localization::localizedString("TRANSFER_VERIFY_COPIES"));
    m_ui->verify->setChecked(settings.boolForKey(SettingsKeys::transfer_verify));
    connect(m_ui->verify, &QCheckBox::toggled, this, [](bool on) {
        UserDefaults::standardUserDefaults().setBool(on, SettingsKeys::transfer_verify);
    });
    connect(m_ui->helpButton, &QToolButton::clicked, this,
            &TransferPreferencesController::showHelp);
}

TransferPreferencesController::~TransferPreferencesController() = default;

QIcon TransferPreferencesController::toolbarItemImage() const {
    return QIcon::fromTheme(QStringLiteral("pixhaul"),
                            QIcon::fromTheme(QStringLiteral("camera-photo")));
}

QString TransferPreferencesController::toolbarItemLabel() const {
    return Localization::localizedString("Transfer");
}

QStringList TransferPreferencesController::overwriteModeTitles() {
    return {Localization::localizedString("OVERWRITE_MODE_ASK"),
            Localization::localizedString("OVERWRITE_MODE_REPLACE"),
            Localization::localizedString("OVERWRITE_MODE_SKIP")};
}

void TransferPreferencesController::comboBoxSelectionDidChange(int index) {
    if (index >= 0)
        UserDefaults::standardUserDefaults().setInteger(index,
                                                        SettingsKeys::transfer_overwrite_mode);
}

bool TransferPreferencesController::isHelpVisible() const {
    return m_tooltip && m_tooltip->isTooltipVisible();
}

void TransferPreferencesController::showHelp() {
    if (isHelpVisible()) {
        hideHelp();
        return;
    }
    if (!m_tooltip) {
        ApplicationInterfaces::registerAll();
        m_tooltip = new TooltipHelper(this);
    }
    m_tooltip->showTooltipFromNib(QStringLiteral("TransferMaskTip"), window(), m_ui->helpButton, 1);
}

void TransferPreferencesController::hideHelp() {
    if (m_tooltip)
        m_tooltip->hideTooltip();
}

void TransferPreferencesController::hideEvent(QHideEvent* event) {
    hideHelp();
    QWidget::hideEvent(event);
}
