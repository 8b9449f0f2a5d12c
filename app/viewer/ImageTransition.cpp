// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageTransition.h"

#include "DrawingImageBase.h"

#include <QDateTime>
#include <QRandomGenerator>

#include <cmath>
#include <numbers>

namespace {

constexpr double slideDistance = 1.05; // view widths

QPointF fadeOffset(const DrawingImageBase& image, double angle) {
    const double drift = image.fadeDrift();
    return QPointF(std::cos(angle) * drift * image.viewWidth(),
                   std::sin(angle) * drift * image.viewHeight());
}

} // namespace

ImageTransition::FadeAngles ImageTransition::fadeAngles(quint32 seed) {
    QRandomGenerator generator(seed);
    const double a = generator.generateDouble() * 2 * std::numbers::pi;
    const double b = generator.generateDouble() * 2 * std::numbers::pi;
    return {a, b};
}

ImageTransition::FadeAngles ImageTransition::randomFadeAngles() {
    return fadeAngles(static_cast<quint32>(QDateTime::currentSecsSinceEpoch()));
}

void ImageTransition::start(TransitionKind kind, DrawingImageBase& current,
                            DrawingImageBase& incoming, const FadeAngles& angles) {
    switch (kind) {
    case TransitionKind::Fade: {
        current.setAlpha(1.0);
        current.setTransitionOffset(fadeOffset(current, angles.outgoing));
        const QPointF arrival = fadeOffset(incoming, angles.incoming);
        incoming.setAlpha(0.0);
        incoming.setTranslate(incoming.translate() - arrival);
        incoming.setTransitionOffset(arrival);
        break;
    }
    case TransitionKind::SlideFromLeft:
    case TransitionKind::SlideFromRight: {
        // Sliding from the left moves both pictures to the right.
        const double sign = kind == TransitionKind::SlideFromLeft ? 1.0 : -1.0;
        const double points = sign * slideDistance * current.viewWidth();
        current.setTransitionOffset(QPointF(current.translateDistance(points), 0.0));
        const double shift = incoming.translateDistance(points);
        incoming.setTranslate(incoming.translate() - QPointF(shift, 0.0));
        incoming.setTransitionOffset(QPointF(shift, 0.0));
        break;
    }
    case TransitionKind::None:
        current.setTransitionOffset(QPointF());
        incoming.setTransitionOffset(QPointF());
        break;
    }
    current.setTransitionStartPosition(current.translate());
    incoming.setTransitionStartPosition(incoming.translate());
}

void ImageTransition::advance(TransitionKind kind, DrawingImageBase& current,
                              DrawingImageBase& incoming, double progress) {
    for (DrawingImageBase* image : {&current, &incoming})
        image->setTranslate(image->transitionStartPosition() +
                            progress * image->transitionOffset());
    if (kind == TransitionKind::Fade) {
        current.setAlpha(1.0 - progress);
        incoming.setAlpha(progress);
    }
}
