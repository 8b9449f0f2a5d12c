// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ImageLoader.h"

#include <memory>

class DrawingView;
class GLDrawingImage;

// An image loader for the OpenGL viewer view: once the file has been read
// it turns the picture into a drawing image for the view and keeps only
// that (image() is then null). Main thread only.
class GLImageLoader : public ImageLoader {
    Q_OBJECT
public:
    // `view` is not owned; it may be null (no view: a view size of 0 x 0).
    GLImageLoader(const QString& path, DrawingView* view, QObject* parent = nullptr);
    ~GLImageLoader() override;

    DrawingView* view() const { return m_view; }
    // Null until ready, and for a file that does not decode.
    const std::shared_ptr<GLDrawingImage>& glImage() const { return m_glImage; }

protected:
    void imageLoaded() override;
    void loadStarted() override;

private:
    DrawingView* m_view = nullptr;
    std::shared_ptr<GLDrawingImage> m_glImage;
};
