// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/AlertSheet.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

QMessageBox* openAlert(QWidget& window, QStringList& log) {
    ESSBeginAlertSheet(
        QStringLiteral("Delete?"), QStringLiteral("Delete"), QString(), QStringLiteral("Cancel"),
        &window, [&log](void*, int code) { log << QStringLiteral("end %1").arg(code); },
        [&log](void*) { log << QStringLiteral("dismiss"); }, nullptr, QStringLiteral("Sure?"));
    const auto boxes = window.findChildren<QMessageBox*>();
    return boxes.isEmpty() ? nullptr : boxes.last();
}

QAbstractButton* buttonTitled(QMessageBox* box, const QString& title) {
    for (QAbstractButton* button : box->buttons())
        if (button->text() == title)
            return button;
    return nullptr;
}

} // namespace

TEST(AlertSheet, DoesNotBlockAndReportsTheDefaultButtonOnce) {
    QWidget window;
    QStringList log;
    QMessageBox* box = openAlert(window, log);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(log.isEmpty()); // returned before any answer
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    EXPECT_EQ(box->text(), "Delete?");
    EXPECT_EQ(box->informativeText(), "Sure?");
    EXPECT_EQ(box->defaultButton()->text(), "Delete");
    buttonTitled(box, QStringLiteral("Delete"))->click();
    QApplication::processEvents();
    EXPECT_EQ(log, QStringList({"end 1", "dismiss"}));
}

TEST(AlertSheet, OtherButtonIsNotTheDefault) {
    QWidget window;
    QStringList log;
    QMessageBox* box = openAlert(window, log);
    ASSERT_NE(box, nullptr);
    buttonTitled(box, QStringLiteral("Cancel"))->click();
    QApplication::processEvents();
    EXPECT_EQ(log, QStringList({"end -1", "dismiss"}));
}
