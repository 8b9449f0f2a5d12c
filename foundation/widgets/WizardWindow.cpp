// SPDX-License-Identifier: GPL-3.0-or-later
#include "WizardWindow.h"

#include <QLabel>
#include <QLayout>
#include <QStackedWidget>

namespace {

int gHeightAdjustment = 0;

} // namespace

WizardWindow::WizardWindow(const QList<QWidget*>& pages, int heightAdjustment,
                           CompletionHandler completionHandler, QWidget* parent)
    : SetupWindow(pages, std::move(completionHandler), parent)
    , m_heightAdjustment(qMax(0, heightAdjustment)) {
    gHeightAdjustment = m_heightAdjustment;
    const QSize standard = sizeHint();
    initialiseContentView();
    // The layout still holds the minimum of the standard box.
    layout()->activate();
    resize(QSize(standard.width(), standard.height() - m_heightAdjustment)
               .expandedTo(minimumSizeHint()));
}

int WizardWindow::lastHeightAdjustment() {
    return gHeightAdjustment;
}

void WizardWindow::initialiseContentView() {
    const int height = qMax(0, standardContentSize().height() - m_heightAdjustment);
    contentBox()->setMinimumHeight(height);
    imageView()->setMinimumHeight(height);
}

void WizardWindow::shift(int direction) {
    SetupWindow::shift(direction);
    // The stacked content box sizes every page to itself, so the shortened
    // box already shortens the pages; the reference is kept for pages that
    // lay themselves out against it.
    if (m_referenceViewHeight < 1 && currentPage())
        m_referenceViewHeight = currentPage()->height();
}
