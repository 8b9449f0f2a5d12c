// SPDX-License-Identifier: GPL-3.0-or-later
#include "LanczosScaler.h"

#include <QColorSpace>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <type_traits>
#include <vector>

namespace {

constexpr double kLobes = 3.0;

double sinc(double x) {
    if (x == 0.0)
        return 1.0;
    x *= std::numbers::pi;
    return std::sin(x) / x;
}

double lanczos(double x) {
    x = std::abs(x);
    return x < kLobes ? sinc(x) * sinc(x / kLobes) : 0.0;
}

// 8-bit samples are summed in integers with 14-bit weights, which the
// compiler turns into wide multiply-adds; 16-bit samples in floats.
template <typename Sample>
using Weight = std::conditional_t<sizeof(Sample) == 1, std::int16_t, float>;
template <typename Sample> using Sum = std::conditional_t<sizeof(Sample) == 1, std::int32_t, float>;
constexpr int kWeightBits = 14;

// For each output position: the first source position and the weights of
// the taps that follow it, `width` weights per position (unused ones 0).
template <typename Sample> struct Taps {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<Weight<Sample>> weights;
    int width = 0;
};

template <typename Sample> Taps<Sample> tapsFor(int in, int out) {
    const double scale = double(out) / double(in);
    const double stretch = std::max(1.0, 1.0 / scale);
    const double support = kLobes * stretch;
    Taps<Sample> taps;
    taps.width = int(std::ceil(support)) * 2 + 2;
    taps.first.resize(std::size_t(out));
    taps.count.resize(std::size_t(out));
    taps.weights.assign(std::size_t(out) * std::size_t(taps.width), Weight<Sample>(0));
    std::vector<double> raw(static_cast<std::size_t>(taps.width));
    for (int i = 0; i < out; ++i) {
        // Pixel centres sit at half positions on both sides.
        const double center = (i + 0.5) / scale;
        const int first = std::max(0, int(std::floor(center - support)));
        const int last = std::min(in - 1, int(std::ceil(center + support)));
        double total = 0.0;
        int count = 0;
        for (int j = first; j <= last && count < taps.width; ++j, ++count) {
            raw[std::size_t(count)] = lanczos((j + 0.5 - center) / stretch);
            total += raw[std::size_t(count)];
        }
        if (total == 0.0) { // only at the very edge of a tiny source
            raw[0] = total = 1.0;
            count = std::max(count, 1);
        }
        Weight<Sample>* row = &taps.weights[std::size_t(i) * std::size_t(taps.width)];
        if constexpr (std::is_integral_v<Weight<Sample>>) {
            // Rounded so the weights add up to exactly one.
            int sum = 0;
            for (int k = 0; k < count; ++k) {
                row[k] =
                    Weight<Sample>(std::lround(raw[std::size_t(k)] / total * (1 << kWeightBits)));
                sum += row[k];
            }
            const int middle = int(std::clamp(center - 0.5 - first, 0.0, double(count - 1)));
            row[middle] = Weight<Sample>(row[middle] + ((1 << kWeightBits) - sum));
        } else {
            for (int k = 0; k < count; ++k)
                row[k] = Weight<Sample>(raw[std::size_t(k)] / total);
        }
        taps.first[std::size_t(i)] = first;
        taps.count[std::size_t(i)] = count;
    }
    return taps;
}

template <typename Sample> Sample store(Sum<Sample> sum) {
    constexpr Sum<Sample> top = std::numeric_limits<Sample>::max();
    if constexpr (std::is_integral_v<Sum<Sample>>) {
        const Sum<Sample> value = (sum + (1 << (kWeightBits - 1))) >> kWeightBits;
        return Sample(std::clamp<Sum<Sample>>(value, 0, top));
    } else {
        return Sample(std::clamp<float>(sum + 0.5f, 0.0f, float(top)));
    }
}

// Rows of `elements` samples: each output row is a weighted sum of whole
// source rows.
template <typename Sample> void scaleRows(const QImage& in, QImage& out, qsizetype elements) {
    const Taps<Sample> taps = tapsFor<Sample>(in.height(), out.height());
    std::vector<Sum<Sample>> sums(static_cast<std::size_t>(elements));
    for (int y = 0; y < out.height(); ++y) {
        std::fill(sums.begin(), sums.end(), Sum<Sample>(0));
        const Weight<Sample>* weights = &taps.weights[std::size_t(y) * std::size_t(taps.width)];
        const int first = taps.first[std::size_t(y)];
        for (int k = 0; k < taps.count[std::size_t(y)]; ++k) {
            const auto* source = reinterpret_cast<const Sample*>(in.constScanLine(first + k));
            const Sum<Sample> weight = weights[k];
            Sum<Sample>* sum = sums.data();
            for (qsizetype x = 0; x < elements; ++x)
                sum[x] += weight * Sum<Sample>(source[x]);
        }
        auto* target = reinterpret_cast<Sample*>(out.scanLine(y));
        for (qsizetype x = 0; x < elements; ++x)
            target[x] = store<Sample>(sums[std::size_t(x)]);
    }
}

// Pixels of `Channels` samples along each row; with `premultiplied` the
// last channel is alpha and no colour may end above it.
template <typename Sample, int Channels>
void scaleColumns(const QImage& in, QImage& out, bool premultiplied) {
    const Taps<Sample> taps = tapsFor<Sample>(in.width(), out.width());
    for (int y = 0; y < out.height(); ++y) {
        const auto* source = reinterpret_cast<const Sample*>(in.constScanLine(y));
        auto* target = reinterpret_cast<Sample*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            Sum<Sample> sum[Channels] = {};
            const Weight<Sample>* weights = &taps.weights[std::size_t(x) * std::size_t(taps.width)];
            const Sample* pixel = source + std::size_t(taps.first[std::size_t(x)]) * Channels;
            const int count = taps.count[std::size_t(x)];
            for (int k = 0; k < count; ++k, pixel += Channels) {
                const Sum<Sample> weight = weights[k];
                for (int c = 0; c < Channels; ++c)
                    sum[c] += weight * Sum<Sample>(pixel[c]);
            }
            Sample* result = target + std::size_t(x) * Channels;
            for (int c = 0; c < Channels; ++c)
                result[c] = store<Sample>(sum[c]);
            if (premultiplied) {
                for (int c = 0; c + 1 < Channels; ++c)
                    result[c] = std::min(result[c], result[Channels - 1]);
            }
        }
    }
}

template <typename Sample, int Channels>
QImage scaledAs(const QImage& image, const QSize& size, bool premultiplied) {
    QImage rows = image;
    if (size.height() != image.height()) {
        rows = QImage(image.width(), size.height(), image.format());
        if (rows.isNull())
            return QImage();
        scaleRows<Sample>(image, rows, qsizetype(image.width()) * Channels);
    }
    if (size.width() == image.width())
        return rows;
    QImage result(size, image.format());
    if (result.isNull())
        return QImage();
    scaleColumns<Sample, Channels>(rows, result, premultiplied);
    return result;
}

QImage::Format workingFormat(const QImage& image) {
    switch (image.format()) {
    case QImage::Format_Grayscale8:
    case QImage::Format_RGB888:
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888_Premultiplied:
    case QImage::Format_Grayscale16:
    case QImage::Format_RGBX64:
    case QImage::Format_RGBA64_Premultiplied:
        return image.format();
    default:
        break;
    }
    const bool deep = image.pixelFormat().redSize() > 8;
    if (image.hasAlphaChannel())
        return deep ? QImage::Format_RGBA64_Premultiplied : QImage::Format_RGBA8888_Premultiplied;
    if (image.isGrayscale())
        return deep ? QImage::Format_Grayscale16 : QImage::Format_Grayscale8;
    return deep ? QImage::Format_RGBX64 : QImage::Format_RGB888;
}

} // namespace

QImage LanczosScaler::scaled(const QImage& image, const QSize& size) {
    if (image.isNull() || size.isEmpty())
        return QImage();
    const QImage source = image.convertToFormat(workingFormat(image));
    QImage result;
    switch (source.format()) {
    case QImage::Format_Grayscale8:
        result = scaledAs<std::uint8_t, 1>(source, size, false);
        break;
    case QImage::Format_RGB888:
        result = scaledAs<std::uint8_t, 3>(source, size, false);
        break;
    case QImage::Format_RGBX8888:
        result = scaledAs<std::uint8_t, 4>(source, size, false);
        break;
    case QImage::Format_RGBA8888_Premultiplied:
        result = scaledAs<std::uint8_t, 4>(source, size, true);
        break;
    case QImage::Format_Grayscale16:
        result = scaledAs<std::uint16_t, 1>(source, size, false);
        break;
    case QImage::Format_RGBX64:
        result = scaledAs<std::uint16_t, 4>(source, size, false);
        break;
    case QImage::Format_RGBA64_Premultiplied:
        result = scaledAs<std::uint16_t, 4>(source, size, true);
        break;
    default:
        return QImage();
    }
    if (!result.isNull())
        result.setColorSpace(image.colorSpace());
    return result;
}
