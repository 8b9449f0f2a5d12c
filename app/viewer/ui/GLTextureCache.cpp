// SPDX-License-Identifier: GPL-3.0-or-later
#include "GLTextureCache.h"

#include "viewer/GLDrawingImage.h"

#include <iterator>

GLTextureCache::GLTextureCache(GLTextureShader& shader, int maxTextureSize)
    : m_shader(shader)
    , m_maxTextureSize(maxTextureSize) {}

GLTextureCache::~GLTextureCache() = default;

GLTexture* GLTextureCache::textureFor(const std::shared_ptr<GLDrawingImage>& image) {
    if (!image)
        return nullptr;
    const auto it = m_entries.find(image.get());
    if (it != m_entries.end()) {
        if (it->second.image.lock() == image)
            return it->second.texture.get();
        // A dead picture's entry at a reused address.
        m_entries.erase(it);
    }
    if (!image->hasImage())
        return nullptr;
    auto texture = std::make_unique<GLTexture>(m_shader, image->takeImage(), m_maxTextureSize);
    GLTexture* result = texture.get();
    m_entries.emplace(image.get(), Entry{image, std::move(texture)});
    return result;
}

void GLTextureCache::purge() {
    for (auto it = m_entries.begin(); it != m_entries.end();)
        it = it->second.image.expired() ? m_entries.erase(it) : std::next(it);
}
