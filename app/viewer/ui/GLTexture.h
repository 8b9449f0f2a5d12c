// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>
#include <qopengl.h>

class GLTextureShader;

// One picture uploaded once as one OpenGL texture (premultiplied RGBA),
// drawn as a rectangle with an opacity. The texture name is deleted with
// the object. Made, drawn and destroyed with the OpenGL context current, on
// the main thread; the shader must outlive it.
class GLTexture {
public:
    // A picture with a side longer than `maxSize` (the implementation's
    // largest texture) is scaled down to fit it, its proportions kept: it is
    // drawn at the same place, with fewer pixels. 0 sets no limit. A null
    // picture makes no texture and draws nothing.
    GLTexture(GLTextureShader& shader, QImage image, int maxSize);
    ~GLTexture();
    GLTexture(const GLTexture&) = delete;
    GLTexture& operator=(const GLTexture&) = delete;

    // The texture's size in pixels.
    QSize size() const { return m_size; }
    GLuint textureId() const { return m_texId; }

    // `rect` in normalised device coordinates, origin at the lower left.
    void drawAtRect(const QRectF& rect, double alpha = 1.0) const;
    void deleteTexture();

private:
    GLTextureShader* m_shader;
    GLuint m_texId = 0;
    QSize m_size;
};
