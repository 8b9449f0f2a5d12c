// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ImageViewLog.h"
#include "ViewTransitionClock.h"

#include "viewer/ImageTransition.h"
#include "viewer/ImageViewer.h"
#include "viewer/TransitionKind.h"

#include <cmath>
#include <functional>
#include <memory>
#include <utility>

// The pictures of a viewer view and the change from one to the next, shared
// by the two views (Image is DrawingImage or GLDrawingImage). A new picture
// replaces the current one at once, or, when a transition is asked for and
// the current picture sits at its fitting zoom, comes in through an
// animated transition; a transition still running when the next picture
// arrives jumps to its end first. The view supplies what differs between
// the two kinds of picture through the hooks. Main thread.
template <class Image> class ImageSwitcher {
public:
    struct Hooks {
        // Fits a picture to the view without animation.
        std::function<void(Image&)> fit;
        // Both pictures are set; the transition is about to be laid out.
        std::function<void()> transitionWillStart;
        // The current picture changed (directly or at a transition's end).
        std::function<void()> currentImageReplaced;
        // The new picture is in place; for the delegate.
        std::function<void()> imageUpdateCompleted;
        std::function<void()> redisplay;
    };

    explicit ImageSwitcher(Hooks hooks)
        : m_hooks(std::move(hooks))
        , m_clock([this](double progress) { advanceTransition(progress); }) {}
    ImageSwitcher(const ImageSwitcher&) = delete;
    ImageSwitcher& operator=(const ImageSwitcher&) = delete;

    const std::shared_ptr<Image>& currentImage() const { return m_currentImage; }
    // The incoming picture while a transition runs.
    const std::shared_ptr<Image>& transitionedImage() const { return m_transitionedImage; }
    bool isInTransition() const { return m_transitionedImage != nullptr; }

    void setImage(std::shared_ptr<Image> image, TransitionKind kind, bool zoomReset) {
        stopTransition();
        // A transition only when the user has not zoomed into the old picture.
        if (kind != TransitionKind::None && image && m_currentImage &&
            std::abs(m_currentImage->zoom() - m_currentImage->fittingZoom()) <= 0.001) {
            m_transitionedImage = std::move(image);
            m_transition = kind;
            startTransition();
            return;
        }
        const std::shared_ptr<Image> previous = std::exchange(m_currentImage, std::move(image));
        if (m_currentImage) {
            // A picture shown before may come back faded out or displaced.
            m_currentImage->setAlpha(1.0);
            if (zoomReset || !previous)
                m_hooks.fit(*m_currentImage);
            else
                m_currentImage->setTranslate(previous->translate(), previous->zoom());
        }
        notify(m_hooks.currentImageReplaced);
        notify(m_hooks.imageUpdateCompleted);
        notify(m_hooks.redisplay);
    }

    // Ends a running transition at once in its final state; the delegate
    // hears of it when its timer was running.
    void stopTransition() {
        const bool wasRunning = m_clock.stop();
        if (m_transitionedImage) {
            if (m_currentImage)
                m_currentImage->setAlpha(1.0);
            m_currentImage = std::exchange(m_transitionedImage, nullptr);
            m_currentImage->setAlpha(1.0);
            m_hooks.fit(*m_currentImage);
            notify(m_hooks.currentImageReplaced);
        }
        if (wasRunning) {
            qCDebug(lcImageView) << "transition done";
            notify(m_hooks.imageUpdateCompleted);
        }
        notify(m_hooks.redisplay);
    }

    // Drops both pictures without telling the delegate.
    void clear() {
        m_clock.stop();
        m_transitionedImage.reset();
        m_currentImage.reset();
        notify(m_hooks.currentImageReplaced);
        notify(m_hooks.redisplay);
    }

private:
    static void notify(const std::function<void()>& hook) {
        if (hook)
            hook();
    }

    void startTransition() {
        qCDebug(lcImageView) << "transition start";
        notify(m_hooks.transitionWillStart);
        m_hooks.fit(*m_currentImage);
        m_hooks.fit(*m_transitionedImage);
        m_currentImage->setAlpha(1.0);
        m_transitionedImage->setAlpha(1.0);
        ImageTransition::start(m_transition, *m_currentImage, *m_transitionedImage);
        m_clock.start(ImageViewer::transitionDuration(m_transition));
        notify(m_hooks.redisplay);
    }

    void advanceTransition(double progress) {
        if (!m_transitionedImage)
            return;
        ImageTransition::advance(m_transition, *m_currentImage, *m_transitionedImage, progress);
        if (progress >= 0.999)
            stopTransition();
        else
            notify(m_hooks.redisplay);
    }

    Hooks m_hooks;
    std::shared_ptr<Image> m_currentImage;
    std::shared_ptr<Image> m_transitionedImage;
    TransitionKind m_transition = TransitionKind::None;
    ViewTransitionClock m_clock;
};
