// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QFont>

#include <gtest/gtest.h>

// `Fixture` with the application's font scaled by the test parameter for
// the length of each test.
template <typename Fixture>
class FontScaledTest : public Fixture, public ::testing::WithParamInterface<double> {
protected:
    void SetUp() override {
        Fixture::SetUp();
        m_original = QApplication::font();
        QFont font = m_original;
        font.setPointSizeF(m_original.pointSizeF() * GetParam());
        QApplication::setFont(font);
    }
    void TearDown() override {
        QApplication::setFont(m_original);
        Fixture::TearDown();
    }

private:
    QFont m_original;
};
