// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferDestinationsPage.h"

#include "ui_TransferAssistant.h"

#include "ByteCountFormatter.h"
#include "Localization.h"
#include "transfer/SpaceCheck.h"

#include <QHeaderView>

namespace {

QString bytesText(qint64 bytes) {
    return ByteCountFormatter::stringFromByteCount(bytes, QStringLiteral("B"),
                                                   ByteCountFormatter::DecimalCountStyle);
}

} // namespace

TransferDestinationsPage::TransferDestinationsPage(Ui::TransferAssistant& form, QObject* parent)
    : QObject(parent)
    , m_ui(form) {
    m_ui.destinationList->header()->setStretchLastSection(false);
    m_ui.destinationList->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_ui.destinationList->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
}

void TransferDestinationsPage::begin(bool sizeOnly) {
    m_ui.destinationList->clear();
    m_ui.verifyNote->setVisible(sizeOnly);
    m_ui.spaceMessage->setText(Localization::localizedString("TRANSFER_MEASURING_SPACE"));
    m_ui.spaceMessage->setStyleSheet(QString());
}

bool TransferDestinationsPage::showSpace(const SpaceCheck& space) {
    m_ui.destinationList->clear();
    for (const SpaceCheck::Volume& volume : space.volumes()) {
        auto* item = new QTreeWidgetItem(
            m_ui.destinationList,
            {volume.mountPoint,
             Localization::localizedString("TRANSFER_VOLUME_SPACE")
                 .arg(bytesText(volume.bytesToWrite), bytesText(volume.bytesFree))});
        for (const QString& folder : volume.folders)
            new QTreeWidgetItem(item, {folder});
        item->setExpanded(true);
    }
    const bool fits = space.fits();
    m_ui.spaceMessage->setText(
        fits ? QString()
             : Localization::localizedString("TRANSFER_NO_SPACE").arg(space.shortage()));
    m_ui.spaceMessage->setStyleSheet(fits ? QString() : QStringLiteral("color: #c01c28;"));
    return fits;
}
