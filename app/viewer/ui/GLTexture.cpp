// SPDX-License-Identifier: GPL-3.0-or-later
#include "GLTexture.h"

#include "GLTextureShader.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <utility>

GLTexture::GLTexture(GLTextureShader& shader, QImage image, int maxSize)
    : m_shader(&shader) {
    if (image.isNull())
        return;
    if (maxSize > 0 && (image.width() > maxSize || image.height() > maxSize))
        image = image.scaled(maxSize, maxSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    // In place when the caller handed over the only reference, so a camera
    // picture is not held twice while it is uploaded.
    image.convertTo(QImage::Format_RGBA8888_Premultiplied);
    m_size = image.size();

    QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
    gl->glGenTextures(1, &m_texId);
    gl->glBindTexture(GL_TEXTURE_2D, m_texId);
    // Rows of four bytes per pixel are always 4-byte aligned.
    gl->glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    gl->glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, m_size.width(), m_size.height(), 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, image.constBits());
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // A fitted camera picture is drawn at a fraction of its size; sampling
    // the full-size level alone would alias fine detail into moiré.
    // Mipmaps of odd sizes need full non-power-of-two support (not in plain
    // OpenGL ES 2).
    if (gl->hasOpenGLFeature(QOpenGLFunctions::NPOTTextureRepeat)) {
        gl->glGenerateMipmap(GL_TEXTURE_2D);
        gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    } else {
        gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    }
    gl->glBindTexture(GL_TEXTURE_2D, 0);
}

GLTexture::~GLTexture() {
    deleteTexture();
}

void GLTexture::drawAtRect(const QRectF& rect, double alpha) const {
    m_shader->draw(m_texId, rect, alpha);
}

void GLTexture::deleteTexture() {
    if (m_texId == 0)
        return;
    if (QOpenGLContext* context = QOpenGLContext::currentContext())
        context->functions()->glDeleteTextures(1, &m_texId);
    m_texId = 0;
}
