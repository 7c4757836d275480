// Every window inside the work area of its monitor, its frame included.
#include <gtest/gtest.h>

#include "resources/about_form.h"
#include "ui/window_placement.h"

namespace qmx::testing {
namespace {

// The About box's caption and borders at 192 DPI: its 688 x 780 client area stands in a
// 694 x 817 window.
constexpr ui::PixelSize kAboutFrameAt192{6, 37};

// A form that fits keeps its monitor's resolution; one that does not is laid out at the highest
// that fits, frame included, and none below 96 DPI. The About box at 192 DPI on a 1280 x 800
// screen with a 40-pixel taskbar at the bottom: as large as fits, and moved up off the taskbar.
TEST(WindowPlacement, AFormIsLaidOutAtTheHighestResolutionThatFitsItsWorkArea) {
    const auto& about = resources::aboutForm();
    EXPECT_EQ(ui::dpiThatFits(about, 192, kAboutFrameAt192, {694, 817}), 192);
    EXPECT_LT(ui::dpiThatFits(about, 192, kAboutFrameAt192, {694, 816}), 192);
    EXPECT_LT(ui::dpiThatFits(about, 192, kAboutFrameAt192, {693, 817}), 192);
    EXPECT_EQ(ui::dpiThatFits(about, 144, {4, 28}, {200, 200}), 96);

    const ui::PixelRect area{0, 0, 1280, 760};
    const int dpi = ui::dpiThatFits(about, 192, kAboutFrameAt192, {area.width, area.height});
    const ui::PixelRect client = ui::clientRectAt(about, dpi);
    const ui::PixelSize window{client.width + 6, client.height + 37};  // the frame stays as it is
    EXPECT_LE(window.height, area.height);
    // As large as fits: one step up would not.
    EXPECT_GT(ui::clientRectAt(about, dpi + 1).height + 37, area.height);
    EXPECT_EQ(ui::centredOn(window, {0, 0, 1280, 800}, area).top, area.height - window.height);
}

// Moved the least to lie inside the work area; a dialog is centred on the screen and moved only
// to leave the taskbar free.
TEST(WindowPlacement, AWindowIsMovedTheLeastToLieInsideTheWorkArea) {
    const ui::PixelRect area{0, 40, 1024, 728};  // a taskbar at the top
    const struct {
        ui::PixelRect wanted, placed;
    } cases[] = {
        {{100, 100, 300, 200}, {100, 100, 300, 200}},  // inside already
        {{-50, 10, 300, 200}, {0, 40, 300, 200}},      // beyond the left and top edges
        {{900, 700, 300, 200}, {724, 568, 300, 200}},  // beyond the right and bottom edges
        {{724, 568, 300, 200}, {724, 568, 300, 200}},  // touching both
        {{50, 300, 300, 900}, {50, 40, 300, 900}},     // taller than the area: top edge kept
    };
    for (const auto& c : cases) EXPECT_EQ(ui::keptInside(c.wanted, area), c.placed);

    const ui::PixelRect screen{0, 0, 1024, 768};
    EXPECT_EQ(ui::centredOn({300, 200}, screen, {0, 0, 1024, 728}),
              (ui::PixelRect{362, 284, 300, 200}));
    EXPECT_EQ(ui::centredOn({300, 700}, screen, {0, 0, 1024, 728}),
              (ui::PixelRect{362, 28, 300, 700}));
    EXPECT_EQ(ui::centredOn({300, 700}, screen, {0, 60, 1024, 708}),
              (ui::PixelRect{362, 60, 300, 700}));
}

}  // namespace
}  // namespace qmx::testing
