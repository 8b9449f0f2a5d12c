// SPDX-License-Identifier: GPL-3.0-or-later
#include "GLTextureShader.h"

#include "ImageViewLog.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <array>

namespace {

// GLSL 1.10 / ES 1.00, so the shaders compile on the compatibility contexts
// QOpenGLWidget gets by default and on OpenGL ES alike; Qt defines the
// precision qualifiers away on desktop OpenGL.
const char* const vertexSource = R"(
attribute highp vec2 position;
attribute highp vec2 texCoord;
varying highp vec2 v_texCoord;
void main() {
    v_texCoord = texCoord;
    gl_Position = vec4(position, 0.0, 1.0);
}
)";

// Premultiplied texels: scaling all four channels applies the opacity.
const char* const fragmentSource = R"(
varying highp vec2 v_texCoord;
uniform sampler2D u_texture;
uniform lowp float u_alpha;
void main() {
    gl_FragColor = texture2D(u_texture, v_texCoord) * u_alpha;
}
)";

constexpr int floatsPerVertex = 4; // x, y, s, t
constexpr int vertexCount = 4;

} // namespace

GLTextureShader::GLTextureShader() {
    m_valid = m_program.addShaderFromSourceCode(QOpenGLShader::Vertex, vertexSource) &&
              m_program.addShaderFromSourceCode(QOpenGLShader::Fragment, fragmentSource) &&
              m_program.link();
    if (!m_valid) {
        qCWarning(lcImageView) << "texture shader:" << m_program.log();
        return;
    }
    m_positionLocation = m_program.attributeLocation("position");
    m_texCoordLocation = m_program.attributeLocation("texCoord");
    m_alphaLocation = m_program.uniformLocation("u_alpha");
    m_textureLocation = m_program.uniformLocation("u_texture");
    // Vertex array objects are optional before OpenGL 3 and ES 3; without
    // one the attributes are set on the default state at each draw anyway.
    m_vertexArray.create();
    m_vertices.setUsagePattern(QOpenGLBuffer::DynamicDraw);
    m_valid = m_vertices.create();
    if (m_valid) {
        m_vertices.bind();
        m_vertices.allocate(floatsPerVertex * vertexCount * static_cast<int>(sizeof(GLfloat)));
        m_vertices.release();
    }
}

GLTextureShader::~GLTextureShader() = default;

void GLTextureShader::draw(GLuint textureId, const QRectF& rect, double alpha) {
    if (!m_valid || textureId == 0 || rect.isEmpty())
        return;
    const auto x0 = static_cast<GLfloat>(rect.left());
    const auto y0 = static_cast<GLfloat>(rect.top());
    const auto x1 = static_cast<GLfloat>(rect.right());
    const auto y1 = static_cast<GLfloat>(rect.bottom());
    // A triangle strip; the texture's first row (t = 0) goes to the top.
    const std::array<GLfloat, floatsPerVertex* vertexCount> vertices = {
        x0, y0, 0, 1, x1, y0, 1, 1, x0, y1, 0, 0, x1, y1, 1, 0,
    };

    QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
    if (m_vertexArray.isCreated())
        m_vertexArray.bind();
    m_program.bind();
    m_vertices.bind();
    m_vertices.write(0, vertices.data(), static_cast<int>(sizeof(vertices)));
    const int stride = floatsPerVertex * static_cast<int>(sizeof(GLfloat));
    m_program.enableAttributeArray(m_positionLocation);
    m_program.setAttributeBuffer(m_positionLocation, GL_FLOAT, 0, 2, stride);
    m_program.enableAttributeArray(m_texCoordLocation);
    m_program.setAttributeBuffer(m_texCoordLocation, GL_FLOAT, 2 * sizeof(GLfloat), 2, stride);
    m_program.setUniformValue(m_alphaLocation, static_cast<GLfloat>(alpha));
    m_program.setUniformValue(m_textureLocation, 0);

    gl->glActiveTexture(GL_TEXTURE0);
    gl->glBindTexture(GL_TEXTURE_2D, textureId);
    gl->glEnable(GL_BLEND);
    gl->glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    gl->glDrawArrays(GL_TRIANGLE_STRIP, 0, vertexCount);
    gl->glDisable(GL_BLEND);
    gl->glBindTexture(GL_TEXTURE_2D, 0);

    m_program.disableAttributeArray(m_positionLocation);
    m_program.disableAttributeArray(m_texCoordLocation);
    m_vertices.release();
    m_program.release();
    if (m_vertexArray.isCreated())
        m_vertexArray.release();
}
