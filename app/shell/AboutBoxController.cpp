// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutBoxController.h"

#include "ui_AboutBox.h"

#include "Localization.h"

AboutBoxController::AboutBoxController(QWidget* parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::AboutBox>()) {
    m_ui->setupUi(this);
    m_ui->version->setText(bundleVersionNumber());
    connect(m_ui->buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
}

AboutBoxController::~AboutBoxController() = default;

QString AboutBoxController::bundleVersionNumber() {
    return QStringLiteral("%1 %2 (Build %3)")
        .arg(Localization::localizedString("Version"), QStringLiteral(PIXHAUL_VERSION),
             QStringLiteral(PIXHAUL_BUILD_VERSION));
}

void AboutBoxController::showWindow() {
    show();
    raise();
    activateWindow();
}
