#include "app_harness.h"
#include "resources/controller_form.h"

namespace qmx::testing {
namespace {

class MutePoll : public AppTest {
protected:
    void SetUp() override { ASSERT_EQ(start(), -1); }
    platform::IconId hostIcon() { return fake.windows.windows.at(hostWindow()).icon; }
};

TEST_F(MutePoll, FirstTickComesAHundredMillisecondsAfterStartUp) {
    fake.mixer.mute = 1;
    const auto before = fake.shell.trayCalls.size();
    fake.timers.advance(99);
    EXPECT_EQ(fake.shell.trayCalls.size(), before);
    fake.timers.advance(1);
    EXPECT_EQ(lastTrayData().icon, platform::IconId::TrayMuted);
    EXPECT_EQ(fake.shell.trayCalls.back().message, platform::TrayMessage::Modify);
    EXPECT_EQ(hostIcon(), platform::IconId::TrayMuted);
    EXPECT_EQ(app.trayHost().TxtMuteVal().text(), "1");
}

TEST_F(MutePoll, ResendsTheIconOnEveryTickButNotTheTipItWasAddedWith) {
    const auto before = fake.shell.trayCalls.size();
    fake.timers.advance(1000);
    EXPECT_EQ(fake.shell.trayCalls.size(), before + 10);
    const auto& data = lastTrayData();
    EXPECT_EQ(data.icon, platform::IconId::TrayNormal);
    EXPECT_EQ(data.flags, platform::kTrayFlagMessage | platform::kTrayFlagIcon);
    EXPECT_EQ(std::string(data.tip.data()), "Velto Volume Controller 4.0");
    EXPECT_EQ(app.trayHost().TxtMuteVal().text(), "0");
}

TEST_F(MutePoll, FollowsMutingAndUnmutingElsewhere) {
    fake.timers.advance(100);
    fake.mixer.mute = 1;
    fake.timers.advance(100);
    EXPECT_EQ(lastTrayData().icon, platform::IconId::TrayMuted);
    fake.mixer.mute = 0;
    fake.timers.advance(100);
    EXPECT_EQ(lastTrayData().icon, platform::IconId::TrayNormal);
}

TEST_F(MutePoll, NeverTouchesTheMuteBoxWhileTheControllerIsClosed) {
    fake.mixer.mute = 1;
    const int created = fake.windows.windowsCreated;
    fake.log.calls.clear();
    fake.timers.advance(500);
    EXPECT_EQ(fake.windows.windowsCreated, created);
    EXPECT_EQ(fake.log.count("mixer.set 9 1"), 0);
}

TEST_F(MutePoll, BringsAnOpenControllersMuteBoxInLineAndWritesTheStateBackOnce) {
    app.controller().load();
    fake.mixer.mute = 1;
    fake.log.calls.clear();
    fake.timers.advance(100);
    EXPECT_EQ(app.controller().chkmute().value(), 1);
    EXPECT_EQ(fake.log.count("mixer.set 9 1"), 1);
    const auto* window = fake.windows.find("Form1");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->values.at(resources::controller::ChkMute), 1);

    fake.log.calls.clear();
    fake.timers.advance(300);
    EXPECT_EQ(fake.log.count("mixer.set 9 1"), 0);

    fake.mixer.mute = 0;
    fake.timers.advance(100);
    EXPECT_EQ(app.controller().chkmute().value(), 0);
    EXPECT_EQ(fake.log.count("mixer.set 9 0"), 1);
}

TEST_F(MutePoll, AnUnexpectedMuteValueChangesNothing) {
    fake.timers.advance(100);
    const auto before = fake.shell.trayCalls.size();
    fake.mixer.mute = 2;
    fake.timers.advance(100);
    EXPECT_EQ(fake.shell.trayCalls.size(), before);
    EXPECT_EQ(app.trayHost().TxtMuteVal().text(), "2");
}

TEST_F(MutePoll, ControllerLoadAndUnloadSetTheLoadedSignal) {
    app.controller().load();
    EXPECT_EQ(app.trayHost().txtform1signal().text(), "1");
    app.controller().unload();
    EXPECT_EQ(app.trayHost().txtform1signal().text(), "0");
}

}  // namespace
}  // namespace qmx::testing
