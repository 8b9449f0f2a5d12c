// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/TooltipHelper.h"
#include "widgets/AttachedWindow.h"

#include <QApplication>
#include <QLabel>
#include <QMoveEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

struct HelpWindow {
    QWidget window;
    QPushButton* helpButton = new QPushButton(QStringLiteral("?"));
    HelpWindow() {
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(200, 200, 200, 200);
        layout->addWidget(helpButton);
        window.move(300, 300);
        window.show();
    }
};

} // namespace

TEST(TooltipHelper, PointForViewIsTheMiddleOfTheAskedEdge) {
    HelpWindow help;
    const QRect global(help.helpButton->mapToGlobal(QPoint(0, 0)), help.helpButton->size());
    const QPoint centre(global.left() + global.width() / 2, global.top() + global.height() / 2);
    EXPECT_EQ(TooltipHelper::pointForView(help.helpButton, 0), QPoint(global.left(), centre.y()));
    EXPECT_EQ(TooltipHelper::pointForView(help.helpButton, 1),
              QPoint(centre.x(), global.top() + global.height()));
    EXPECT_EQ(TooltipHelper::pointForView(help.helpButton, 2),
              QPoint(global.left() + global.width(), centre.y()));
    EXPECT_EQ(TooltipHelper::pointForView(help.helpButton, 3), QPoint(centre.x(), global.top()));
}

TEST(TooltipHelper, ShowsTheInterfaceBesideTheViewOnTheAskedSide) {
    HelpWindow help;
    TooltipHelper helper;
    EXPECT_FALSE(helper.isTooltipVisible());
    ASSERT_TRUE(
        helper.showTooltipFromNib(QStringLiteral("TestTip"), &help.window, help.helpButton, 2));
    ASSERT_TRUE(helper.isTooltipVisible());
    AttachedWindow* tip = helper.tooltip();
    EXPECT_TRUE(tip->isVisible());
    EXPECT_TRUE(tip->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(tip->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_EQ(tip->parentWidget(), &help.window);
    EXPECT_NE(tip->findChild<QLabel*>(QStringLiteral("helpText")), nullptr);
    // On the right: starts 2 pixels right of the point, centred on it.
    const QPoint anchor = TooltipHelper::pointForView(help.helpButton, 2);
    EXPECT_EQ(tip->geometry().left(), anchor.x() + 2);
    EXPECT_LE(qAbs(tip->geometry().center().y() - anchor.y()), 1);

    // Below the button for side 1; showing again replaces the first bubble.
    ASSERT_TRUE(
        helper.showTooltipFromNib(QStringLiteral("TestTip"), &help.window, help.helpButton, 1));
    const QPoint below = TooltipHelper::pointForView(help.helpButton, 1);
    EXPECT_NE(helper.tooltip(), nullptr);
    EXPECT_EQ(helper.tooltip()->geometry().top(), below.y() + 2);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the replaced bubble
    EXPECT_EQ(help.window.findChildren<AttachedWindow*>().size(), 1);
}

TEST(TooltipHelper, GoesWhenTheWindowMovesOrLosesFocusOrOnRequest) {
    HelpWindow help;
    TooltipHelper helper;
    ASSERT_TRUE(
        helper.showTooltip(new QLabel(QStringLiteral("help")), &help.window, QPoint(400, 400), 0));
    QMoveEvent moved(QPoint(310, 300), QPoint(300, 300));
    QApplication::sendEvent(&help.window, &moved);
    EXPECT_FALSE(helper.isTooltipVisible());

    ASSERT_TRUE(
        helper.showTooltip(new QLabel(QStringLiteral("help")), &help.window, QPoint(400, 400), 3));
    QEvent deactivated(QEvent::WindowDeactivate);
    QApplication::sendEvent(&help.window, &deactivated);
    EXPECT_FALSE(helper.isTooltipVisible());

    ASSERT_TRUE(
        helper.showTooltip(new QLabel(QStringLiteral("help")), &help.window, QPoint(400, 400), 1));
    helper.hideTooltip();
    EXPECT_FALSE(helper.isTooltipVisible());
    // Later events of the window no longer reach a helper without a bubble.
    QApplication::sendEvent(&help.window, &moved);
    EXPECT_FALSE(helper.isTooltipVisible());
}

TEST(TooltipHelper, UnknownInterfaceShowsNothing) {
    HelpWindow help;
    TooltipHelper helper;
    EXPECT_FALSE(
        helper.showTooltipFromNib(QStringLiteral("NoSuchTip"), &help.window, help.helpButton, 1));
    EXPECT_FALSE(helper.isTooltipVisible());
}
