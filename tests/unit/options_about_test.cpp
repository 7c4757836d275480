#include "app_harness.h"
#include "common/paths.h"
#include "resources/about_form.h"
#include "resources/options_form.h"
#include "settings/startup_entry.h"

namespace qmx::testing {
namespace {

using platform::RegistryRoot;
const std::string kKey = "Software\\Korwen's Software\\Velto Volume Controller\\4.0";
const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kName = "Velto Volume Controller 4.0";
namespace opt = resources::options;

class OptionsDialogTest : public AppTest {
protected:
    void SetUp() override {
        fake.registry.createKey(RegistryRoot::CurrentUser, kKey);
        fake.registry.createKey(RegistryRoot::LocalMachine, kRun);
        // The program runs as the installation for everyone.
        fake.registry.setString(RegistryRoot::LocalMachine, settings::kUninstallKey,
                                "InstallLocation", folderOf(fake.processes.ownPath));
        ASSERT_EQ(start(), -1);
    }
    settings::OptionsDialog& dialog() { return app.options(); }
    void userClicks(int control) {
        fake.windows.deliver(fake.windows.idOf("Form4"), [=](auto& e) { e.onClick(control); });
    }
    bool hasValue(RegistryRoot root, const std::string& path, const std::string& name) {
        return fake.registry.find(root, path)->count(name) != 0;
    }
};

TEST_F(OptionsDialogTest, WithNothingStoredApplyStoresNothingSaysNothingAndCloses) {
    dialog().show();
    EXPECT_EQ(dialog().chkStp().value(), 0);
    EXPECT_EQ(dialog().chkShadow().value(), 0);
    fake.log.calls.clear();
    userClicks(opt::Command1);
    EXPECT_FALSE(hasValue(RegistryRoot::CurrentUser, kKey, "shadow"));
    EXPECT_FALSE(hasValue(RegistryRoot::LocalMachine, kRun, kName));
    EXPECT_EQ(fake.log.count("registry.set shadow"), 0);
    EXPECT_TRUE(fake.messageBoxes.shown.empty());
    EXPECT_FALSE(dialog().loaded());
}

TEST_F(OptionsDialogTest, ScreenReadersHearEachBoxByItsLabel) {
    dialog().show();
    const auto& names = fake.windows.find("Form4")->accessibleNames;
    EXPECT_EQ(names.at(opt::ChkStp), "Run when Windows starts.");
    EXPECT_EQ(names.at(opt::ChkShadow), "Controller Shadow");
    EXPECT_EQ(names.at(opt::HotKey1), "Shortcut to open the controller:");
}

// As with every check box, a click on the box's text switches it.
TEST_F(OptionsDialogTest, AClickOnABoxsLabelSwitchesTheBox) {
    dialog().show();
    userClicks(opt::Label1);
    userClicks(opt::Label2);
    EXPECT_EQ(dialog().chkStp().value(), 1);
    EXPECT_EQ(dialog().chkShadow().value(), 1);
    EXPECT_TRUE(dialog().shadowChanged());
    userClicks(opt::Label2);
    EXPECT_EQ(dialog().chkShadow().value(), 0);
}

TEST_F(OptionsDialogTest, FillsFromTheRegistryWithoutCountingAsAShadowClick) {
    fake.registry.setDword(RegistryRoot::CurrentUser, kKey, "shadow", 1);
    fake.registry.setString(RegistryRoot::LocalMachine, kRun, kName, "x");
    dialog().show();
    EXPECT_EQ(dialog().chkStp().value(), 1);
    EXPECT_EQ(dialog().chkShadow().value(), 1);
    EXPECT_FALSE(dialog().shadowChanged());
}

TEST_F(OptionsDialogTest, ClickingTheShadowBoxTwiceStillWritesAndTellsWhenItApplies) {
    dialog().show();
    const auto options = dialog().window();
    userClicks(opt::ChkShadow);
    userClicks(opt::ChkShadow);
    userClicks(opt::Command1);
    ASSERT_TRUE(hasValue(RegistryRoot::CurrentUser, kKey, "shadow"));
    ASSERT_EQ(fake.messageBoxes.shown.size(), 1u);
    // Modal to the dialog: no second Apply while it is up.
    EXPECT_EQ(fake.messageBoxes.shown[0].owner, options);
    EXPECT_EQ(fake.messageBoxes.shown[0].text,
              "The shadow will be removed when you launch the application next time.");
    EXPECT_EQ(fake.messageBoxes.shown[0].flags, 0u);
    EXPECT_EQ(fake.messageBoxes.shown[0].caption, "Velto Volume Controller 4.0");

    dialog().show();
    userClicks(opt::ChkShadow);
    userClicks(opt::ChkStp);
    userClicks(opt::Command1);
    EXPECT_EQ(fake.messageBoxes.shown.back().text,
              "The shadow will be applied when you launch the application next time.");
    EXPECT_TRUE(hasValue(RegistryRoot::LocalMachine, kRun, kName));
}

TEST_F(OptionsDialogTest, AStandardUsersStartUpChoiceIsKeptInTheirOwnRunKey) {
    fake.registry.readOnlyRoots.insert(RegistryRoot::LocalMachine);
    dialog().show();
    userClicks(opt::ChkStp);
    userClicks(opt::Command1);
    EXPECT_TRUE(fake.messageBoxes.shown.empty());
    EXPECT_FALSE(dialog().loaded());
    EXPECT_TRUE(hasValue(RegistryRoot::CurrentUser, kRun, kName));
    dialog().show();
    EXPECT_EQ(dialog().chkStp().value(), 1);
    userClicks(opt::ChkStp);
    userClicks(opt::Command1);
    EXPECT_FALSE(hasValue(RegistryRoot::CurrentUser, kRun, kName));
}

TEST_F(OptionsDialogTest, ClosingWithoutApplyStoresNothing) {
    dialog().show();
    userClicks(opt::ChkShadow);
    userClicks(opt::ChkStp);
    fake.windows.deliver(fake.windows.idOf("Form4"), [](auto& e) { e.onClose(); });
    EXPECT_FALSE(dialog().loaded());
    EXPECT_FALSE(hasValue(RegistryRoot::CurrentUser, kKey, "shadow"));
    EXPECT_FALSE(hasValue(RegistryRoot::LocalMachine, kRun, kName));
}

namespace about = resources::about;

class AboutBoxTest : public AppTest {
protected:
    void userClicks(int control) {
        fake.windows.deliver(fake.windows.idOf("Form3"), [=](auto& e) { e.onClick(control); });
    }
};

TEST_F(AboutBoxTest, ShowsTheDesignTextUntilTheMixerIsKnown) {
    app.about().show();
    EXPECT_EQ(app.about().lblmanufac().caption(), "Mixer : No details available !");
}

TEST_F(AboutBoxTest, AfterStartUpShowsTheMixersWholeNameField) {
    ASSERT_EQ(start(), -1);
    app.about().show();
    const std::string expected = "Mixer : Fake Audio Mixer" + std::string(16, '\0');
    EXPECT_EQ(app.about().lblmanufac().caption(), expected);
}

TEST_F(AboutBoxTest, TheLinksOpenTheMakersAddresses) {
    app.about().show();
    userClicks(about::Label4);
    userClicks(about::Label1);
    userClicks(about::Label11);
    userClicks(about::Label2);
    EXPECT_EQ(fake.shell.openedAddresses,
              (std::vector<std::string>{about::kMakerAddress, about::kGraphicsAddress}));
}

TEST_F(AboutBoxTest, TheMakersNameOpensANewBrowserWindowOrFallsBackToTheShell) {
    app.about().show();
    for (int i = 0; i < 3; ++i) userClicks(about::Label6);
    EXPECT_EQ(fake.shell.browserWindows.size(), 3u);
    EXPECT_TRUE(fake.shell.openedAddresses.empty());
    fake.shell.browserAvailable = false;
    userClicks(about::Label6);
    EXPECT_EQ(fake.shell.openedAddresses, std::vector<std::string>{about::kMakerAddress});
}

TEST_F(AboutBoxTest, TheLogoTakesTheUnderlineAwayUntilTheBoxIsOpenedAgain) {
    app.about().show();
    EXPECT_TRUE(app.about().label4().underline());
    fake.windows.deliver(fake.windows.idOf("Form3"),
                         [](auto& e) { e.onPointerMove(about::Image1, 0, 10, 10); });
    EXPECT_FALSE(app.about().label4().underline());
    EXPECT_FALSE(fake.windows.find("Form3")->underline.at(about::Label4));
    fake.windows.deliver(fake.windows.idOf("Form3"), [](auto& e) { e.onClose(); });
    app.about().show();
    EXPECT_TRUE(app.about().label4().underline());
}

}  // namespace
}  // namespace qmx::testing
