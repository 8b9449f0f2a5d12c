// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class SpaceCheck;

namespace Ui {
class TransferAssistant;
}

// The assistant's last page before the run: each destination file system
// with the bytes the run will write there and the room free, its folders
// below it, and what is missing where when the run cannot fit. Main
// thread.
class TransferDestinationsPage : public QObject {
    Q_OBJECT

public:
    explicit TransferDestinationsPage(Ui::TransferAssistant& ui, QObject* parent = nullptr);

    // Empties the page while the free space is measured; `sizeOnly`: the
    // copies cannot be compared by a hash (a device camera), only by size.
    void begin(bool sizeOnly = false);
    // Lists the volumes; false (and the shortage said) when the run cannot fit.
    bool showSpace(const SpaceCheck& space);

private:
    Ui::TransferAssistant& m_ui;
};
