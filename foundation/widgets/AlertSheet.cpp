// SPDX-License-Identifier: GPL-3.0-or-later
#include "AlertSheet.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

void ESSBeginAlertSheet(const QString& title, const QString& defaultButton,
                        const QString& alternateButton, const QString& otherButton, QWidget* window,
                        AlertDidEndBlock didEnd, AlertDidDismissBlock didDismiss, void* context,
                        const QString& message) {
    auto* box = new QMessageBox(window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    box->setIcon(QMessageBox::Warning);
    box->setText(title);
    box->setInformativeText(message);

    QPushButton* defaultPush = box->addButton(defaultButton, QMessageBox::AcceptRole);
    box->setDefaultButton(defaultPush);
    QPushButton* alternatePush = nullptr;
    QPushButton* otherPush = nullptr;
    if (!alternateButton.isEmpty())
        alternatePush = box->addButton(alternateButton, QMessageBox::DestructiveRole);
    if (!otherButton.isEmpty()) {
        otherPush = box->addButton(otherButton, QMessageBox::RejectRole);
        box->setEscapeButton(otherPush);
    } else if (!alternatePush) {
        box->setEscapeButton(defaultPush);
    }

    // finished() fires once, after the box has been hidden; the box is
    // deleted afterwards, so the blocks run exactly once.
    QObject::connect(box, &QMessageBox::finished, box,
                     [box, defaultPush, alternatePush, otherPush, didEnd = std::move(didEnd),
                      didDismiss = std::move(didDismiss), context](int) {
                         const QAbstractButton* clicked = box->clickedButton();
                         int code = AlertOtherReturn;
                         if (clicked == defaultPush)
                             code = AlertDefaultReturn;
                         else if (clicked && clicked == alternatePush)
                             code = AlertAlternateReturn;
                         else if (clicked && clicked == otherPush)
                             code = AlertOtherReturn;
                         if (didEnd)
                             didEnd(context, code);
                         if (didDismiss)
                             didDismiss(context);
                     });
    box->open();
}
