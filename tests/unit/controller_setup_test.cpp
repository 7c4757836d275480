#include "app_harness.h"
#include "resources/controller_form.h"
#include "ui/layout.h"

namespace qmx::testing {
namespace {

using platform::PictureId;
using namespace resources::controller;
const std::string kKey = "Software\\Korwen's Software\\Velto Volume Controller\\4.0";
constexpr auto kUser = platform::RegistryRoot::CurrentUser;

class ControllerSetUp : public AppTest {
protected:
    void SetUp() override { fake.registry.createKey(kUser, kKey); }
    const fakes::FakeWindows::Window& openController() {
        EXPECT_EQ(start(), -1);
        app.controller().load();
        const auto* window = fake.windows.find("Form1");
        EXPECT_NE(window, nullptr);
        return *window;
    }
};

// The look at the common resolutions is fixed: these sizes are what the controller has always
// had there.
// The rounded corners grow with the skin's own frame, and follow it where its pixels are small.
struct Resolution {
    int dpi;
    ui::PixelRect client, knob, muteBox;
    int cornerEllipse;
};
constexpr Resolution kResolutions[] = {
    {96, {0, 0, 67, 186}, {44, 31, 15, 19}, {45, 147, 13, 13}, 7},
    {120, {0, 0, 84, 232}, {56, 39, 19, 24}, {57, 183, 17, 17}, 9},
    {144, {0, 0, 100, 279}, {67, 47, 22, 28}, {68, 220, 20, 20}, 10},
    {192, {0, 0, 134, 372}, {89, 63, 30, 38}, {91, 293, 27, 27}, 14},
    {288, {0, 0, 201, 558}, {133, 94, 45, 57}, {136, 440, 40, 40}, 27},
};

TEST(Layout, TheControllerLooksAsAlwaysAtEachCommonResolution) {
    const auto& form = resources::controllerForm();
    for (const Resolution& r : kResolutions) {
        EXPECT_EQ(ui::clientRectAt(form, r.dpi), r.client) << r.dpi;
        EXPECT_EQ(ui::controlRectAt(*form.control(Knob), r.dpi), r.knob) << r.dpi;
        EXPECT_EQ(ui::controlRectAt(*form.control(ChkMute), r.dpi), r.muteBox) << r.dpi;
    }
}

void expectShapedFor(const fakes::FakeWindows::Window& window, const Resolution& r) {
    const auto& form = window.regions.at(platform::kFormItself);
    EXPECT_EQ(std::tie(form.left, form.top, form.right, form.bottom),
              std::tuple(0, 0, r.client.width, r.client.height))
        << r.dpi;
    EXPECT_EQ(std::tie(form.ellipseWidth, form.ellipseHeight),
              std::tuple(r.cornerEllipse, r.cornerEllipse))
        << r.dpi;
    const auto& knob = window.regions.at(Knob);
    EXPECT_EQ(std::tie(knob.right, knob.bottom, knob.ellipseWidth),
              std::tuple(r.knob.width, r.knob.height, r.cornerEllipse))
        << r.dpi;
}

TEST_F(ControllerSetUp, ShapesTheWindowAndTheKnobForTheResolutionItOpensAt) {
    for (const Resolution& r : kResolutions) {
        fake.system.twipsX = 1440.0 / r.dpi;
        expectShapedFor(openController(), r);
        app.controller().unload();
    }
}

// Moved to a monitor of another scale, the controller takes the shape of its new size; its knob
// keeps its place in twips, and the window is not moved by the program.
TEST_F(ControllerSetUp, TakesItsShapeAgainOnAMonitorOfAnotherScale) {
    const auto& window = openController();
    const float knobTop = window.tops.at(Knob);
    const auto place = std::tuple(window.x, window.y);
    for (const Resolution& r : {kResolutions[2], kResolutions[3], kResolutions[0]}) {
        fake.windows.changeDpi(fake.windows.idOf("Form1"), r.dpi);
        expectShapedFor(window, r);
        EXPECT_EQ(window.tops.at(Knob), knobTop);
        EXPECT_EQ(std::tuple(window.x, window.y), place);
    }
}

TEST_F(ControllerSetUp, PlacesItselfAboveTheWorkAreasBottomRightCorner) {
    const auto& window = openController();
    EXPECT_EQ(std::tie(window.x, window.y), std::tuple(874, 548));
    EXPECT_TRUE(window.shown);
}

TEST_F(ControllerSetUp, ScalesItsHomeOffsetsWithTheResolutionSoItsBottomStaysOnScreen) {
    fake.system.twipsX = 12;
    const auto& window = openController();
    // 150 and 190 pixels at 96 DPI are 187.5 and 237.5 at 120 DPI; the window is 232 tall.
    EXPECT_EQ(std::tie(window.x, window.y), std::tuple(1024 - 188, 738 - 238));
}

TEST_F(ControllerSetUp, KeepsItsOffsetsWithTheTaskbarAtTheTopOrLeft) {
    fake.system.workAreaRect = {0, 30, 1280, 1024};
    EXPECT_EQ(std::tie(openController().x, openController().y), std::tuple(1130, 834));
    fake.system.workAreaRect = {60, 0, 1280, 994};
    app.controller().unload();
    app.controller().load();
    const auto* window = fake.windows.find("Form1");
    EXPECT_EQ(std::tie(window->x, window->y), std::tuple(1130, 804));
}

TEST_F(ControllerSetUp, AFailedWorkAreaQueryPlacesItAtMinus150Minus190) {
    fake.system.workAreaAvailable = false;
    const auto& window = openController();
    EXPECT_EQ(std::tie(window.x, window.y), std::tuple(-150, -190));
}

TEST_F(ControllerSetUp, StartsFromTheVistaPictureWithBothCloseButtonsAndTheDesignedMuteBox) {
    // A controller shown before in the Classic skin leaves nothing behind in the next one.
    openController();
    app.controller().applySkin(false);
    app.controller().unload();
    app.controller().load();
    const auto& window = *fake.windows.find("Form1");
    EXPECT_EQ(window.pictures.at(platform::kFormItself), PictureId::VistaSkin);
    EXPECT_EQ(window.pictures.at(Knob), PictureId::Knob);
    EXPECT_TRUE(window.visible.at(Image5));
    EXPECT_TRUE(window.visible.at(Image6));
    EXPECT_EQ(window.tops.at(ChkMute), 2200.0f);
    EXPECT_EQ(window.backColors.at(ChkMute), 0x5E3820u);
    EXPECT_EQ(app.controller().fadeAlpha(), 255);
    EXPECT_FALSE(app.controller().trackClicked());
    EXPECT_EQ(app.trayHost().txtform1signal().text(), "1");
}

TEST_F(ControllerSetUp, IsNotTopmostUnlessTheSettingSaysOne) {
    for (auto [stored, topMost] : {std::pair{-1, false}, {0, false}, {1, true}, {2, false}}) {
        if (stored >= 0) fake.registry.setDword(kUser, kKey, "ontopstat", stored);
        app.controller().unload();
        if (!app.trayHost().loaded()) {
            ASSERT_EQ(start(), -1);
        }
        app.controller().load();
        EXPECT_EQ(fake.windows.find("Form1")->topMost, topMost) << "ontopstat " << stored;
    }
}

TEST_F(ControllerSetUp, AddsTheDropShadowToItsClassOnlyWhenTheSettingIsOne) {
    openController();
    EXPECT_EQ(fake.placement.classStyles["Form1"] & platform::kCsDropShadow, 0u);
    fake.registry.setDword(kUser, kKey, "shadow", 1);
    app.controller().unload();
    app.controller().load();
    EXPECT_EQ(fake.placement.classStyles["Form1"] & platform::kCsDropShadow,
              platform::kCsDropShadow);
    // Once added, the shadow stays for the run.
    fake.registry.setDword(kUser, kKey, "shadow", 0);
    app.controller().unload();
    app.controller().load();
    EXPECT_EQ(fake.placement.classStyles["Form1"] & platform::kCsDropShadow,
              platform::kCsDropShadow);
}

TEST_F(ControllerSetUp, SkinsChangeOnlyBackgroundCloseButtonAndMuteBoxTop) {
    fake.mixer.volume = 32768;
    openController();
    auto& controller = app.controller();
    controller.chkmute().setValue(1);
    controller.applySkin(false);
    const auto* window = fake.windows.find("Form1");
    EXPECT_EQ(window->pictures.at(platform::kFormItself), PictureId::ClassicSkin);
    EXPECT_TRUE(controller.image5().visible());
    EXPECT_FALSE(controller.image6().visible());
    EXPECT_EQ(controller.chkmute().top(), 2250.0f);
    controller.applySkin(true);
    EXPECT_EQ(window->pictures.at(platform::kFormItself), PictureId::VistaSkin);
    EXPECT_FALSE(controller.image5().visible());
    EXPECT_TRUE(controller.image6().visible());
    EXPECT_EQ(controller.chkmute().top(), 2220.0f);
    EXPECT_EQ(controller.knob().top(), 1160.0f);
    EXPECT_EQ(controller.volumeLabel().caption(), "50");
    EXPECT_EQ(controller.chkmute().value(), 1);
}

TEST_F(ControllerSetUp, UnloadingPutsEveryControlBackToItsDesign) {
    openController();
    app.controller().applySkin(false);
    app.controller().unload();
    EXPECT_EQ(app.trayHost().txtform1signal().text(), "0");
    app.controller().load();
    EXPECT_TRUE(app.controller().image6().visible());
    EXPECT_EQ(app.controller().chkmute().top(), 2200.0f);
    EXPECT_EQ(fake.windows.find("Form1")->pictures.at(platform::kFormItself), PictureId::VistaSkin);
}

}  // namespace
}  // namespace qmx::testing
