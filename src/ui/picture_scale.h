#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace qmx::ui {

// The artwork is rendered at build time at these scales, in percent of its size at 96 DPI; 150 %
// is drawn from 300 % at half (exactly, every pixel the average of four, where a side is even at
// 150 %; within a few percent of half for the small pictures of odd sides), 250 % from 300 %.
inline constexpr int kPictureScales[] = {100, 200, 300};

// A picture's side of `size96` pixels at 96 DPI, at another resolution: halves go to the even
// neighbour, as the layout rounds, so a picture fills the place the layout gives it.
int pictureSideAt(int size96, int dpi);

// Where a picture shown at a resolution comes from: the rendering at `scale`, resampled
// smoothly to the resolution's size when that scale is not the resolution's own.
struct PictureSource {
    int scale = 100;
    bool resampled = false;
    bool operator==(const PictureSource&) const = default;
};
// The rendering of the resolution's own scale where there is one; else the smallest one at a
// whole multiple of it, else the nearest larger one, scaled down; above the largest, the largest,
// scaled up.
PictureSource pictureSourceAt(int dpi);

// Premultiplied 32-bit pixels (four 8-bit channels), rows from the top, resampled to another
// size: each target pixel is the average of the source area it covers when shrinking (no pixel
// is dropped or repeated), and interpolated between its neighbours when growing.
std::vector<std::uint32_t> resamplePixels(std::span<const std::uint32_t> pixels, int width,
                                          int height, int newWidth, int newHeight);

}  // namespace qmx::ui
