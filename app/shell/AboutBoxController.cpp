// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutBoxController.h"

#include "ui_AboutBox.h"

#include "Localization.h"

AboutBoxController::AboutBoxController(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::AboutBox>()) {
    ui->setupUi(this);
    ui->version->setText(bundleVersionNumber());
    connect(ui->buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
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
