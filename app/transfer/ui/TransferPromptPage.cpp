// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferPromptPage.h"

#include "ui_TransferAssistant.h"

#include "ThumbnailLabel.h"

#include "Localization.h"
#include "UserDefaults.h"
#include "transfer/DescriptionHistory.h"
#include "transfer/Transferer.h"

#include <QStyle>

TransferPromptPage::TransferPromptPage(Ui::TransferAssistant& form, QObject* parent)
    : QObject(parent)
    , ui(form) {
    // Arrows as big as the text, whatever the font size.
    const int arrow = ui.previousThumbnail->fontMetrics().height();
    for (QToolButton* button : {ui.previousThumbnail, ui.nextThumbnail})
        button->setIconSize(QSize(arrow, arrow));
    ui.previousThumbnail->setArrowType(Qt::NoArrow);
    ui.nextThumbnail->setArrowType(Qt::NoArrow);
    ui.previousThumbnail->setIcon(
        ui.previousThumbnail->style()->standardIcon(QStyle::SP_ArrowLeft));
    ui.nextThumbnail->setIcon(ui.nextThumbnail->style()->standardIcon(QStyle::SP_ArrowRight));
    connect(ui.previousThumbnail, &QToolButton::clicked, this, [this] { stepThumbnail(0); });
    connect(ui.nextThumbnail, &QToolButton::clicked, this, [this] { stepThumbnail(1); });
    connect(ui.recallButton, &QPushButton::clicked, this, &TransferPromptPage::recallValues);
}

void TransferPromptPage::loadHistory() {
    const QString typed = ui.description->currentText();
    ui.description->clear();
    ui.description->addItems(DescriptionHistory(UserDefaults::standardUserDefaults()).entries());
    ui.description->setEditText(typed);
}

void TransferPromptPage::begin(std::shared_ptr<Transferer> plan) {
    transferer = std::move(plan);
    targetIndex = 0;
    initTarget();
}

void TransferPromptPage::initTarget() {
    if (!transferer || targetIndex < 0 || targetIndex >= transferer->targets().size())
        return;
    const TransferTarget& target = transferer->targets().at(targetIndex);
    ui.groupTitle->setText(
        Localization::localizedString("TRANSFER_GROUP_TITLE")
            .arg(targetIndex + 1)
            .arg(transferer->targets().size())
            .arg(Localization::localizedString("ITEM_COUNT", int(target.items().size()))));
    ui.datePicker->setDate(target.date().date());
    ui.description->setEditText(target.description());
    ui.recallButton->setEnabled(lastDescription.has_value());
    thumbnailIndex = 0;
    showThumbnail();
    ui.description->setFocus();
    ui.description->lineEdit()->selectAll();
}

CameraFilePtr TransferPromptPage::shownItem() const {
    if (!transferer || targetIndex < 0 || targetIndex >= transferer->targets().size())
        return {};
    const QList<CameraFilePtr>& items = transferer->targets().at(targetIndex).items();
    if (thumbnailIndex < 0 || thumbnailIndex >= items.size())
        return {};
    return items.at(thumbnailIndex);
}

void TransferPromptPage::showThumbnail() {
    const CameraFilePtr item = shownItem();
    ThumbnailLabel::setImage(ui.thumbnail, item ? item->thumbnail() : QImage());
    ui.thumbnail->setToolTip(item ? item->title() : QString());
}

void TransferPromptPage::stepThumbnail(int segment) {
    if (!transferer || targetIndex < 0 || targetIndex >= transferer->targets().size())
        return;
    const int count = int(transferer->targets().at(targetIndex).items().size());
    if (count == 0)
        return;
    const int step = segment == 0 ? -1 : 1;
    thumbnailIndex = ((thumbnailIndex + step) % count + count) % count;
    showThumbnail();
}

void TransferPromptPage::recallValues() {
    if (lastDate)
        ui.datePicker->setDate(lastDate->date());
    if (lastDescription)
        ui.description->setEditText(*lastDescription);
}

bool TransferPromptPage::nextPrompt() {
    if (!transferer)
        return true;
    lastDate = ui.datePicker->date().startOfDay();
    lastDescription = ui.description->currentText();
    ui.recallButton->setEnabled(true);

    if (!lastDescription->isEmpty()) {
        const QStringList history =
            DescriptionHistory(UserDefaults::standardUserDefaults()).remember(*lastDescription);
        ui.description->clear();
        ui.description->addItems(history);
    }

    QList<TransferTarget>& targets = transferer->targets();
    do {
        if (targetIndex >= targets.size())
            break;
        targets[targetIndex].setDate(*lastDate);
        targets[targetIndex].setDescription(*lastDescription);
        ++targetIndex;
    } while (ui.useForRemaining->isChecked());

    if (targetIndex >= targets.size())
        return true;
    initTarget();
    return false;
}

void TransferPromptPage::thumbnailBecameReady(
    const std::function<bool(const CameraFilePtr&)>& isShownFile) {
    const CameraFilePtr item = shownItem();
    if (item && isShownFile(item))
        showThumbnail();
}
