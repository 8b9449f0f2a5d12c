// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QOpenGLBuffer>
#include <QOpenGLShaderProgram>
#include <QOpenGLVertexArrayObject>
#include <QRectF>
#include <qopengl.h>

// Draws a texture as one rectangle: the program and vertex buffer every
// GLTexture of a context draws with. Textures hold premultiplied RGBA with
// their first row at the top of the picture; they are blended over what is
// drawn (one, one minus source alpha) with an opacity. Created, used and
// destroyed with its OpenGL context current, on the main thread.
class GLTextureShader {
public:
    GLTextureShader();
    ~GLTextureShader();
    GLTextureShader(const GLTextureShader&) = delete;
    GLTextureShader& operator=(const GLTextureShader&) = delete;

    bool isValid() const { return m_valid; }
    // `rect` in normalised device coordinates (-1 to 1 across the view), its
    // origin the lower-left corner.
    void draw(GLuint textureId, const QRectF& rect, double alpha);

private:
    QOpenGLShaderProgram m_program;
    QOpenGLBuffer m_vertices{QOpenGLBuffer::VertexBuffer};
    QOpenGLVertexArrayObject m_vertexArray;
    int m_positionLocation = -1;
    int m_texCoordLocation = -1;
    int m_alphaLocation = -1;
    int m_textureLocation = -1;
    bool m_valid = false;
};
