// SPDX-License-Identifier: GPL-3.0-or-later
#include "ApplicationUtils.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

void ApplicationUtils::alert(const QString& message, int style, QWidget* parent) {
    QMessageBox::Icon icon = QMessageBox::Warning;
    if (style == AlertStyleInformational)
        icon = QMessageBox::Information;
    else if (style == AlertStyleCritical)
        icon = QMessageBox::Critical;
    QMessageBox box(icon, QApplication::applicationDisplayName(), message, QMessageBox::NoButton,
                    parent ? parent : QApplication::activeWindow());
    box.setInformativeText(QString());
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}
