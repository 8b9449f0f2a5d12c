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
    , m_ui(form) {
    // Arrows as big as the text, whatever the font size.
    const int arrow = m_ui.previousThumbnail->fontMetrics().height();
    for (QToolButton* button : {m_ui.previousThumbnail, m_ui.nextThumbnail})
        button->setIconSize(QSize(arrow, arrow));
    m_ui.previousThumbnail->setArrowType(Qt::NoArrow);
    m_ui.nextThumbnail->setArrowType(Qt::NoArrow);
    m_ui.previousThumbnail->setIcon(
        m_ui.previousThumbnail->style()->standardIcon(QStyle::SP_ArrowLeft));
    m_ui.nextThumbnail->setIcon(m_ui.nextThumbnail->style()->standardIcon(QStyle::SP_ArrowRight));
    connect(m_ui.previousThumbnail, &QToolButton::clicked, this, [this] { stepThumbnail(0); });
    connect(m_ui.nextThumbnail, &QToolButton::clicked, this, [this] { stepThumbnail(1); });
    connect(m_ui.recallButton, &QPushButton::clicked, this, &TransferPromptPage::recallValues);
}

void TransferPromptPage::loadHistory() {
    const QString typed = m_ui.description->currentText();
    m_ui.description->clear();
    m_ui.description->addItems(DescriptionHistory(UserDefaults::standardUserDefaults()).entries());
    m_ui.description->setEditText(typed);
}

void TransferPromptPage::begin(std::shared_ptr<Transferer> plan) {
    m_transferer = std::move(plan);
    m_targetIndex = 0;
    initTarget();
}

void TransferPromptPage::initTarget() {
    if (!m_transferer || m_targetIndex < 0 || m_targetIndex >= m_transferer->targets().size())
        return;
    const TransferTarget& target = m_transferer->targets().at(m_targetIndex);
    m_ui.groupTitle->setText(
        Localization::localizedString("TRANSFER_GROUP_TITLE")
            .arg(m_targetIndex + 1)
            .arg(m_transferer->targets().size())
            .arg(Localization::localizedString("ITEM_COUNT", int(target.items().size()))));
    m_ui.datePicker->setDate(target.date().date());
    m_ui.description->setEditText(target.description());
    m_ui.recallButton->setEnabled(m_lastDescription.has_value());
    m_thumbnailIndex = 0;
    showThumbnail();
    m_ui.description->setFocus();
    m_ui.description->lineEdit()->selectAll();
}

CameraFilePtr TransferPromptPage::shownItem() const {
    if (!m_transferer || m_targetIndex < 0 || m_targetIndex >= m_transferer->targets().size())
        return {};
    const QList<CameraFilePtr>& items = m_transferer->targets().at(m_targetIndex).items();
    if (m_thumbnailIndex < 0 || m_thumbnailIndex >= items.size())
        return {};
    return items.at(m_thumbnailIndex);
}

void TransferPromptPage::showThumbnail() {
    const CameraFilePtr item = shownItem();
    ThumbnailLabel::setImage(m_ui.thumbnail, item ? item->thumbnail() : QImage());
    m_ui.thumbnail->setToolTip(item ? item->title() : QString());
}

void TransferPromptPage::stepThumbnail(int segment) {
    if (!m_transferer || m_targetIndex < 0 || m_targetIndex >= m_transferer->targets().size())
        return;
    const int count = int(m_transferer->targets().at(m_targetIndex).items().size());
    if (count == 0)
        return;
    const int step = segment == 0 ? -1 : 1;
    m_thumbnailIndex = ((m_thumbnailIndex + step) % count + count) % count;
    showThumbnail();
}

void TransferPromptPage::recallValues() {
    if (m_lastDate)
        m_ui.datePicker->setDate(m_lastDate->date());
    if (m_lastDescription)
        m_ui.description->setEditText(*m_lastDescription);
}

bool TransferPromptPage::nextPrompt() {
    if (!m_transferer)
        return true;
    m_lastDate = m_ui.datePicker->date().startOfDay();
    m_lastDescription = m_ui.description->currentText();
    m_ui.recallButton->setEnabled(true);

    if (!m_lastDescription->isEmpty()) {
        const QStringList history =
            DescriptionHistory(UserDefaults::standardUserDefaults()).remember(*m_lastDescription);
        m_ui.description->clear();
        m_ui.description->addItems(history);
    }

    QList<TransferTarget>& targets = m_transferer->targets();
    do {
        if (m_targetIndex >= targets.size())
            break;
        targets[m_targetIndex].setDate(*m_lastDate);
        targets[m_targetIndex].setDescription(*m_lastDescription);
        ++m_targetIndex;
    } while (m_ui.useForRemaining->isChecked());

    if (m_targetIndex >= targets.size())
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
