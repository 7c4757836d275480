// The artwork at each resolution: which rendering a window draws, at which size, and how a
// rendering of another scale is resampled.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "ui/picture_scale.h"

namespace qmx::testing {
namespace {

// Grey levels as opaque premultiplied pixels, and back.
std::vector<std::uint32_t> greys(const std::vector<int>& levels) {
    std::vector<std::uint32_t> pixels;
    for (int level : levels) {
        const auto v = static_cast<std::uint32_t>(level);
        pixels.push_back(0xFF000000u | v << 16 | v << 8 | v);
    }
    return pixels;
}
std::vector<int> levelsOf(const std::vector<std::uint32_t>& pixels) {
    std::vector<int> levels;
    for (std::uint32_t pixel : pixels) levels.push_back(static_cast<int>(pixel & 0xFF));
    return levels;
}

// The controller's skin (66 x 186 at 96 DPI) at the common scales and between them: a
// resolution's own rendering, else one at a whole multiple of it, else the nearest larger one.
TEST(PictureScale, EachResolutionDrawsItsOwnRenderingOrALargerOneScaledDown) {
    const struct {
        int dpi;
        ui::PictureSource source;
        int width, height;
    } cases[] = {
        {72, {300, true}, 50, 140},   {96, {100, false}, 66, 186},   {120, {200, true}, 82, 232},
        {144, {300, true}, 99, 279},  {168, {200, true}, 116, 326},  {192, {200, false}, 132, 372},
        {240, {300, true}, 165, 465}, {288, {300, false}, 198, 558}, {384, {300, true}, 264, 744},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ui::pictureSourceAt(c.dpi), c.source) << c.dpi;
        EXPECT_EQ(ui::pictureSideAt(66, c.dpi), c.width) << c.dpi;
        EXPECT_EQ(ui::pictureSideAt(186, c.dpi), c.height) << c.dpi;
    }
}

TEST(PictureScale, ResamplingMixesNeighboursInsteadOfRepeatingOrDroppingPixels) {
    // Shrinking: every source pixel counts, with the part of it each target pixel covers.
    EXPECT_EQ(levelsOf(ui::resamplePixels(greys({0, 0, 254, 254}), 4, 1, 3, 1)),
              (std::vector<int>{0, 127, 254}));
    EXPECT_EQ(levelsOf(ui::resamplePixels(greys({0, 255, 255, 0}), 2, 2, 1, 1)),
              (std::vector<int>{128}));
    // Growing: between two pixels, a blend by nearness.
    EXPECT_EQ(levelsOf(ui::resamplePixels(greys({0, 255}), 2, 1, 4, 1)),
              (std::vector<int>{0, 64, 191, 255}));
    // A transparent edge stays premultiplied: no channel above its alpha.
    const std::vector<std::uint32_t> edge{0x00000000u, 0xFFFFFFFFu, 0xFFFFFFFFu};
    for (std::uint32_t pixel : ui::resamplePixels(edge, 3, 1, 2, 1)) {
        EXPECT_LE(pixel & 0xFF, pixel >> 24);
    }
}

}  // namespace
}  // namespace qmx::testing
