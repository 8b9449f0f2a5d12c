// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GLTexture.h"

#include <cstddef>
#include <memory>
#include <unordered_map>

class GLDrawingImage;
class GLTextureShader;

// The textures of the OpenGL view's pictures. A picture's texture is made
// from its pixels at the first request, after which the picture drops them;
// it lives as long as the picture does, since the controller's loaders keep
// pictures the view may show again. Pictures are tracked weakly, so one that
// is gone loses its texture at the next purge and a new picture at the same
// address is never taken for it. Context current, main thread.
class GLTextureCache {
public:
    GLTextureCache(GLTextureShader& shader, int maxTextureSize);
    ~GLTextureCache();
    GLTextureCache(const GLTextureCache&) = delete;
    GLTextureCache& operator=(const GLTextureCache&) = delete;

    // Null when the picture has neither a texture nor pixels any more.
    GLTexture* textureFor(const std::shared_ptr<GLDrawingImage>& image);
    // Deletes the textures of pictures that no longer exist.
    void purge();
    std::size_t size() const { return m_entries.size(); }

private:
    struct Entry {
        std::weak_ptr<GLDrawingImage> image;
        std::unique_ptr<GLTexture> texture;
    };

    GLTextureShader& m_shader;
    int m_maxTextureSize;
    std::unordered_map<const GLDrawingImage*, Entry> m_entries;
};
