// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "viewer/ImageViewDelegate.h"

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include <cstdlib>

// Counts what a view reports to the viewer controller.
struct RecordingDelegate : ImageViewDelegate {
    void imageUpdateCompleted() override { ++updates; }
    void imageViewDoubleClicked() override { ++doubleClicks; }
    void nextImage() override { ++nextImages; }
    void prevImage() override { ++prevImages; }

    int updates = 0;
    int doubleClicks = 0;
    int nextImages = 0;
    int prevImages = 0;
};

inline QImage solidImage(int width, int height, const QColor& color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// A left-button event with a chosen timestamp, delivered straight to the
// widget, so Qt neither merges clicks into double clicks nor stamps the
// time itself. Moves carry the held button.
inline void sendMouse(QWidget& widget, QEvent::Type type, const QPointF& position,
                      quint64 timestamp, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, position, widget.mapToGlobal(position), button, buttons, modifiers);
    event.setTimestamp(timestamp);
    QApplication::sendEvent(&widget, &event);
}

// Channels within a tolerance: software rasterisers round differently.
inline bool near(const QColor& a, const QColor& b, int tolerance = 3) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}
