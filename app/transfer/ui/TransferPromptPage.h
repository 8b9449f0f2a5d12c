// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "camera/CameraFile.h"

#include <QDateTime>
#include <QImage>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class Transferer;

namespace Ui {
class TransferAssistant;
}

// The assistant's second page: a date and a description for each group of
// the scan, one group at a time, with the group's thumbnails, the history
// of descriptions and the values of the previous group. The values are
// written into the transferer's targets. Main thread.
class TransferPromptPage : public QObject {
    Q_OBJECT

public:
    explicit TransferPromptPage(Ui::TransferAssistant& ui, QObject* parent = nullptr);

    // Fills the description list from "transfer_desc_history".
    void loadHistory();

    // Starts at the first group of `transferer`.
    void begin(std::shared_ptr<Transferer> transferer);

    // Shows the group at currentTargetIndex().
    void initTarget();

    // Segment 0 shows the previous, 1 the next thumbnail of the group,
    // wrapping around at both ends.
    void stepThumbnail(int segment);

    // The previous group's date and description, back in the fields.
    void recallValues();

    // Accepts the fields for the current group (and, with "use for all
    // remaining" on, for every later one) and moves on. True once every
    // group has its values.
    bool nextPrompt();

    // A device thumbnail has arrived: shown at once when `isShownFile`
    // answers true for the file on display.
    void thumbnailBecameReady(const std::function<bool(const CameraFilePtr&)>& isShownFile);

    int currentTargetIndex() const { return m_targetIndex; }
    int currentThumbnailIndex() const { return m_thumbnailIndex; }
    std::optional<QDateTime> previousDate() const { return m_lastDate; }
    std::optional<QString> previousDescription() const { return m_lastDescription; }
    CameraFilePtr shownItem() const;

private:
    void showThumbnail();

    Ui::TransferAssistant& m_ui;
    std::shared_ptr<Transferer> m_transferer;
    int m_targetIndex = 0;
    int m_thumbnailIndex = 0;
    std::optional<QDateTime> m_lastDate;
    std::optional<QString> m_lastDescription;
};
