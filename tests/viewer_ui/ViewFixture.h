// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PrivateSettings.h"
#include "ViewTestSupport.h"
#include "settings/SettingsKeys.h"

#include <QTest>

#include <gtest/gtest.h>

// A viewer view of type `View`, 320 × 200 on screen, on a blue background
// from settings of its own, reporting to a RecordingDelegate.
template <typename View> class ViewFixture : public ::testing::Test {
protected:
    void SetUp() override {
        m_settings.store.setObject(QStringLiteral("#0000ff"),
                                   QLatin1String(SettingsKeys::viewer_background));
        m_view.setDelegate(&m_delegate);
        m_view.resize(320, 200);
        m_view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_view));
    }

    PrivateSettings m_settings;
    RecordingDelegate m_delegate;
    View m_view{m_settings.store};
};
