#include "ui/picture_scale.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/rounding.h"
#include "ui/layout.h"

namespace qmx::ui {

int pictureSideAt(int size96, int dpi) {
    return static_cast<int>(roundHalfEven(static_cast<double>(size96) * dpi / kDefaultDpi));
}

PictureSource pictureSourceAt(int dpi) {
    const int wanted = dpi * 100;  // the scale in hundredths of a percent, exactly
    for (int scale : kPictureScales) {
        if (scale * kDefaultDpi == wanted) return {scale, false};
    }
    for (int scale : kPictureScales) {
        if (scale * kDefaultDpi % wanted == 0) return {scale, true};
    }
    for (int scale : kPictureScales) {
        if (scale * kDefaultDpi > wanted) return {scale, true};
    }
    return {std::end(kPictureScales)[-1], true};
}

namespace {

using Channels = std::array<double, 4>;

Channels channelsOf(std::uint32_t pixel) {
    return {static_cast<double>(pixel & 0xFF), static_cast<double>((pixel >> 8) & 0xFF),
            static_cast<double>((pixel >> 16) & 0xFF), static_cast<double>(pixel >> 24)};
}

std::uint32_t pixelOf(const Channels& channels) {
    std::uint32_t pixel = 0;
    for (int i = 0; i < 4; ++i) {
        const auto value =
            static_cast<std::uint32_t>(std::clamp(std::lround(channels[i]), 0L, 255L));
        pixel |= value << (8 * i);
    }
    return pixel;
}

// The weights of the source columns (or rows) that target column `target` covers.
struct Span {
    int first = 0;
    std::vector<double> weights;
};

// Shrinking: the target pixel covers [target * ratio, (target + 1) * ratio) of the source, and
// each source pixel counts with the part of it that lies inside. Growing: the target pixel's
// centre falls between two source centres, which count by their nearness.
Span spanOf(int target, int sourceSize, int targetSize) {
    Span span;
    const double ratio = static_cast<double>(sourceSize) / targetSize;
    if (ratio >= 1.0) {
        const double begin = target * ratio;
        const double end = begin + ratio;
        span.first = static_cast<int>(std::floor(begin));
        for (int s = span.first; s < sourceSize && s < end; ++s) {
            const double covered = std::min<double>(s + 1, end) - std::max<double>(s, begin);
            span.weights.push_back(covered / ratio);
        }
        return span;
    }
    const double centre = std::clamp((target + 0.5) * ratio - 0.5, 0.0, sourceSize - 1.0);
    span.first = static_cast<int>(std::floor(centre));
    const double far = centre - span.first;
    span.weights.push_back(1.0 - far);
    if (span.first + 1 < sourceSize) span.weights.push_back(far);
    return span;
}

}  // namespace

std::vector<std::uint32_t> resamplePixels(std::span<const std::uint32_t> pixels, int width,
                                          int height, int newWidth, int newHeight) {
    std::vector<std::uint32_t> result(static_cast<std::size_t>(newWidth) * newHeight);
    if (width <= 0 || height <= 0 || pixels.size() < static_cast<std::size_t>(width) * height) {
        return result;
    }
    std::vector<Span> columns;
    for (int x = 0; x < newWidth; ++x) columns.push_back(spanOf(x, width, newWidth));
    for (int y = 0; y < newHeight; ++y) {
        const Span row = spanOf(y, height, newHeight);
        for (int x = 0; x < newWidth; ++x) {
            const Span& column = columns[x];
            Channels sum{};
            for (std::size_t j = 0; j < row.weights.size(); ++j) {
                const std::size_t line = static_cast<std::size_t>(row.first + j) * width;
                for (std::size_t i = 0; i < column.weights.size(); ++i) {
                    const Channels source = channelsOf(pixels[line + column.first + i]);
                    const double weight = row.weights[j] * column.weights[i];
                    for (int c = 0; c < 4; ++c) sum[c] += source[c] * weight;
                }
            }
            result[static_cast<std::size_t>(y) * newWidth + x] = pixelOf(sum);
        }
    }
    return result;
}

}  // namespace qmx::ui
