// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SetupWindow.h"

// A wizard for pages smaller than the standard (the batch processor's): a
// SetupWindow whose content box and side picture are shorter than the
// standard by a fixed height. The box's height is set as its minimum, so a
// window whose pages grow with a large font grows the box itself.
// Main thread.
class WizardWindow : public SetupWindow {
    Q_OBJECT

public:
    WizardWindow(const QList<QWidget*>& pages, int heightAdjustment,
                 CompletionHandler completionHandler, QWidget* parent = nullptr);

    int heightAdjustment() const { return m_heightAdjustment; }
    // The adjustment given to the most recently created wizard window.
    static int lastHeightAdjustment();

    // Height of the first page met after a page change; 0 until then.
    int referenceViewHeight() const { return m_referenceViewHeight; }

    // A slot for a page-progress control that pages may show; unused here.
    QWidget* progressMatrix() const { return m_progressMatrix; }
    void setProgressMatrix(QWidget* control) { m_progressMatrix = control; }

protected:
    void shift(int direction) override;

private:
    void initialiseContentView();

    int m_heightAdjustment = 0;
    int m_referenceViewHeight = 0;
    QWidget* m_progressMatrix = nullptr;
};
