// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/ImageTransition.h"
#include "FakeDrawingView.h"
#include "viewer/DrawingImage.h"
#include "viewer/GLDrawingImage.h"

#include <gtest/gtest.h>

#include <memory>
#include <numbers>

namespace {

// Fitted to a 1000 x 500 view with the offset (0, 0): the software picture
// at zoom 2.5, the GL one at zoom 0.5.
std::unique_ptr<DrawingImageBase> fitted(bool gl, DrawingView* view) {
    if (gl) {
        auto image = std::make_unique<GLDrawingImage>(blankImage(2000, 1000), QString(), view);
        image->zoomFit(false);
        return image;
    }
    auto image = std::make_unique<DrawingImage>(blankImage(400, 200), QString(), view);
    image->zoomFit();
    return image;
}

void expectNear(const QPointF& actual, const QPointF& expected) {
    EXPECT_NEAR(actual.x(), expected.x(), 1e-9);
    EXPECT_NEAR(actual.y(), expected.y(), 1e-9);
}

} // namespace

TEST(ImageTransition, OffsetsAndOpacities) {
    // Fades drift by 3% of the view (GL: 10%, as image pixels whatever the
    // zoom); slides move by 1.05 view widths (GL: in image pixels).
    const struct {
        bool gl;
        TransitionKind kind;
        QPointF outgoing, incoming;
    } cases[] = {
        {false, TransitionKind::Fade, {30, 0}, {0, 15}},
        {true, TransitionKind::Fade, {100, 0}, {0, 50}},
        {false, TransitionKind::SlideFromLeft, {1050, 0}, {1050, 0}},
        {false, TransitionKind::SlideFromRight, {-1050, 0}, {-1050, 0}},
        {true, TransitionKind::SlideFromLeft, {2100, 0}, {2100, 0}},
        {true, TransitionKind::SlideFromRight, {-2100, 0}, {-2100, 0}},
    };
    FakeDrawingView view({1000, 500});
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.gl << " " << int(c.kind));
        const auto current = fitted(c.gl, &view);
        const auto incoming = fitted(c.gl, &view);
        current->setTranslate(QPointF(7, 3)); // panned
        ImageTransition::start(c.kind, *current, *incoming, {0, std::numbers::pi / 2});
        expectNear(current->transitionOffset(), c.outgoing);
        expectNear(incoming->transitionOffset(), c.incoming);
        EXPECT_EQ(current->transitionStartPosition(), QPointF(7, 3));
        expectNear(incoming->transitionStartPosition(), -c.incoming);

        const bool fade = c.kind == TransitionKind::Fade;
        ImageTransition::advance(c.kind, *current, *incoming, 0.25);
        expectNear(current->translate(), QPointF(7, 3) + 0.25 * c.outgoing);
        EXPECT_EQ(current->alpha(), fade ? 0.75 : 1.0);
        EXPECT_EQ(incoming->alpha(), fade ? 0.25 : 1.0);
        ImageTransition::advance(c.kind, *current, *incoming, 1);
        expectNear(incoming->translate(), QPointF(0, 0));
    }
}

TEST(ImageTransition, FadeAnglesComeFromTheSeed) {
    const ImageTransition::FadeAngles a = ImageTransition::fadeAngles(42);
    EXPECT_EQ(a.outgoing, ImageTransition::fadeAngles(42).outgoing);
    EXPECT_NE(a.outgoing, a.incoming);
    EXPECT_LT(a.outgoing, 2 * std::numbers::pi);
}
