// SPDX-License-Identifier: GPL-3.0-or-later
#include "DrawingImageBase.h"

#include "DrawingView.h"
#include "Exif.h"

DrawingImageBase::DrawingImageBase(const QSizeF& pixelSize, const QString& path, DrawingView* view)
    : m_path(path)
    , m_view(view)
    , m_imgWidth(static_cast<float>(pixelSize.width()))
    , m_imgHeight(static_cast<float>(pixelSize.height())) {}

DrawingImageBase::~DrawingImageBase() = default;

double DrawingImageBase::viewWidth() const {
    return m_view ? m_view->viewFrameSize().width() : 0.0;
}

double DrawingImageBase::viewHeight() const {
    return m_view ? m_view->viewFrameSize().height() : 0.0;
}

double DrawingImageBase::fittingZoom() const {
    if (m_imgWidth <= 0 || m_imgHeight <= 0)
        return 0.0;
    const double rw = viewWidth() / m_imgWidth;
    const double rh = viewHeight() / m_imgHeight;
    return rh > rw ? rw : rh;
}

Exif* DrawingImageBase::exifData() {
    if (!m_exif)
        m_exif = std::make_unique<Exif>(m_path);
    return m_exif.get();
}
