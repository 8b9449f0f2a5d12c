// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestFiles.h"
#include "widgets/ApplicationUtils.h"
#include "widgets/MenuUtils.h"
#include "widgets/PasteboardUtils.h"
#include "widgets/ToolBarUtils.h"
#include "widgets/ViewUtils.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

TEST(PasteboardUtils, PutFilenamesWritesExistingPathsInOrderAndSkipsMissingOnes) {
    QTemporaryDir folder;
    const QString a = folder.filePath(QStringLiteral("a.jpg"));
    const QString b = folder.filePath(QStringLiteral("sub dir"));
    ASSERT_TRUE(TestFiles::write(a, "x"));
    ASSERT_TRUE(QDir().mkpath(b));
    const QString missing = folder.filePath(QStringLiteral("gone.jpg"));

    EXPECT_EQ(PasteboardUtils::putFilenames({b, missing, a}), 2);
    EXPECT_EQ(PasteboardUtils::getFilenames(), QStringList({b, a}));
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("text/uri-list")));

    // An empty list leaves the clipboard alone; only missing paths clear it.
    EXPECT_EQ(PasteboardUtils::putFilenames({}), 0);
    EXPECT_EQ(PasteboardUtils::getFilenames(), QStringList({b, a}));
    EXPECT_EQ(PasteboardUtils::putFilenames({missing}), 0);
    EXPECT_TRUE(PasteboardUtils::getFilenames().isEmpty());
}

TEST(PasteboardUtils, PutImageContentOnlyForPictures) {
    QTemporaryDir folder;
    const QString picture = folder.filePath(QStringLiteral("p.png"));
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(picture));
    const QString text = folder.filePath(QStringLiteral("t.png"));
    ASSERT_TRUE(TestFiles::write(text, "not a picture"));

    QApplication::clipboard()->setText(QStringLiteral("before"));
    EXPECT_FALSE(PasteboardUtils::putImageContent(text));
    EXPECT_EQ(QApplication::clipboard()->text(), "before");

    EXPECT_TRUE(PasteboardUtils::putImageContent(picture));
    const QImage pasted = QApplication::clipboard()->image();
    EXPECT_EQ(pasted.size(), QSize(8, 6));
    EXPECT_EQ(QColor(pasted.pixel(1, 1)), QColor(Qt::blue));
}

TEST(MenuUtils, ItemsCarryTitleShortcutAndAction) {
    QMenu menu;
    int triggered = 0;
    QObject receiver;
    QAction* item = MenuUtils::addItemWithTitle(
        &menu, QStringLiteral("Rotate"), &receiver, [&] { ++triggered; }, QStringLiteral("r"));
    QAction* shifted = MenuUtils::addItemWithTitle(
        &menu, QStringLiteral("Flip"), &receiver, [] {}, QStringLiteral("F"), Qt::AltModifier);
    QAction* bare = MenuUtils::addItemWithTitle(
        &menu, QStringLiteral("Info"), nullptr, [] {}, QString());
    item->trigger();
    EXPECT_EQ(triggered, 1);
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    EXPECT_EQ(shifted->shortcut(), QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_F));
    EXPECT_TRUE(bare->shortcut().isEmpty());

    QMenu* sub = MenuUtils::addSubMenuWithTitle(&menu, QStringLiteral("Open With"));
    ASSERT_NE(sub, nullptr);
    EXPECT_TRUE(sub->isEmpty());
    EXPECT_EQ(menu.actions().last()->menu(), sub);
    EXPECT_EQ(menu.actions().size(), 4);
}

TEST(ToolBarUtils, RemovesTheFirstItemWithTheIdentifier) {
    QToolBar bar;
    for (const char* name : {"share", "trash", "share"})
        bar.addAction(QString::fromLatin1(name))->setObjectName(QString::fromLatin1(name));
    EXPECT_TRUE(ToolBarUtils::removeItemWithIdentifier(&bar, QStringLiteral("share")));
    ASSERT_EQ(bar.actions().size(), 2);
    EXPECT_EQ(bar.actions().first()->objectName(), "trash");
    EXPECT_TRUE(ToolBarUtils::removeItemWithIdentifier(&bar, QStringLiteral("share")));
    EXPECT_FALSE(ToolBarUtils::removeItemWithIdentifier(&bar, QStringLiteral("share")));
}

TEST(ViewUtils, LoadsInterfacesFromResourcesAndRegisteredForms) {
    QWidget owner;
    QWidget* tip = ViewUtils::viewFromNib(QStringLiteral("TestTip"), &owner);
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->parentWidget(), &owner);
    EXPECT_NE(tip->findChild<QLabel*>(QStringLiteral("helpText")), nullptr);

    QLabel* label = ViewUtils::viewFromNib<QLabel>(QStringLiteral("TestTip"), &owner);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "%d day, %m month");
    EXPECT_EQ(ViewUtils::viewFromNib<QPushButton>(QStringLiteral("TestTip")), nullptr);
    EXPECT_EQ(ViewUtils::viewFromNib(QStringLiteral("NoSuchInterface")), nullptr);

    ViewUtils::registerNib(QStringLiteral("TestTip"), [](QWidget* parent) {
        return new QPushButton(QStringLiteral("registered"), parent);
    });
    auto* button = ViewUtils::viewFromNib<QPushButton>(QStringLiteral("TestTip"), &owner);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "registered");
    ViewUtils::registerNib(QStringLiteral("TestTip"), {});
}

TEST(ApplicationUtils, AlertIsModalWithOneUntranslatedOkButton) {
    QString text;
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        text = box->text();
        icon = box->icon();
        for (QAbstractButton* button : box->buttons())
            buttons << button->text();
        box->defaultButton()->click();
    });
    ApplicationUtils::alert(QStringLiteral("Source folder must be a valid folder"),
                            ApplicationUtils::AlertStyleCritical);
    EXPECT_EQ(text, "Source folder must be a valid folder");
    EXPECT_EQ(buttons, QStringList{"OK"});
    EXPECT_EQ(icon, QMessageBox::Critical);
}
