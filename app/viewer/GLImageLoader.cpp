// SPDX-License-Identifier: GPL-3.0-or-later
#include "GLImageLoader.h"

#include "GLDrawingImage.h"

GLImageLoader::GLImageLoader(const QString& path, DrawingView* view, QObject* parent)
    : ImageLoader(path, parent)
    , m_view(view) {}

GLImageLoader::~GLImageLoader() = default;

void GLImageLoader::imageLoaded() {
    if (!image().isNull())
        m_glImage = std::make_shared<GLDrawingImage>(image(), path(), m_view);
    // The drawing image holds the pixels until the view makes its texture.
    releaseImage();
}

void GLImageLoader::loadStarted() {
    m_glImage.reset();
}
