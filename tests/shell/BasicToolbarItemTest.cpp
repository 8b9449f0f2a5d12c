// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/BasicToolbarItem.h"

#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class Validator : public QObject {
    Q_OBJECT
public:
    bool answer = false;
    Q_INVOKABLE bool validateToolbarItem(BasicToolbarItem*) { return answer; }
    Q_INVOKABLE void act() {}
};

} // namespace

TEST(BasicToolbarItem, WithoutTargetOrActionItIsDisabled) {
    Validator target;
    BasicToolbarItem item(QStringLiteral("Rotate"));
    item.validate();
    EXPECT_FALSE(item.isEnabled());
    item.setEnabled(true);
    item.setTarget(&target);
    item.validate();
    EXPECT_FALSE(item.isEnabled());
}

TEST(BasicToolbarItem, TheTargetDecidesForTheControlOrTheItem) {
    Validator target;
    BasicToolbarItem item(QStringLiteral("Rotate"));
    item.setTarget(&target);
    item.setActionName("act");
    item.validate();
    EXPECT_FALSE(item.isEnabled());
    target.answer = true;
    item.validate();
    EXPECT_TRUE(item.isEnabled());

    // A control as view takes the verdict; its own target and action count
    // when the item has none.
    QPushButton button;
    button.setProperty("target", QVariant::fromValue<QObject*>(&target));
    button.setProperty("action", QByteArray("act"));
    BasicToolbarItem controlled(QStringLiteral("Delete"));
    controlled.setView(&button);
    target.answer = false;
    controlled.validate();
    EXPECT_FALSE(button.isEnabled());
    EXPECT_TRUE(controlled.isEnabled());
}

TEST(BasicToolbarItem, ATargetThatCannotValidateLeavesTheStateAlone) {
    QObject plain;
    BasicToolbarItem item(QStringLiteral("Info"));
    item.setTarget(&plain);
    item.setActionName("deleteLater");
    item.setEnabled(false);
    item.validate();
    EXPECT_FALSE(item.isEnabled());
    item.setEnabled(true);
    item.validate();
    EXPECT_TRUE(item.isEnabled());
}

#include "BasicToolbarItemTest.moc"
