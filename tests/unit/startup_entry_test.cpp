#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "settings/startup_entry.h"

namespace qmx::testing {
namespace {

using platform::RegistryRoot;
const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kName = "Velto Volume Controller 4.0";

TEST(StartupCommand, IsTheExecutablesPathWithALowerCaseExeQuotedWhenItHasASpace) {
    using settings::StartupEntry;
    EXPECT_EQ(StartupEntry::commandFor("C:\\Tools\\qmx.exe"), "C:\\Tools\\qmx.exe");
    EXPECT_EQ(StartupEntry::commandFor("C:\\Tools\\QMX.EXE"), "C:\\Tools\\QMX.exe");
    EXPECT_EQ(StartupEntry::commandFor("C:\\Program Files\\Velto\\qmx.exe"),
              "\"C:\\Program Files\\Velto\\qmx.exe\"");
    EXPECT_EQ(StartupEntry::commandFor("C:\\qmx.exe"), "C:\\\\qmx.exe");
    EXPECT_EQ(StartupEntry::commandFor("D:\\apps\\v.1\\qmx"), "D:\\apps\\v.1\\qmx.exe");
}

class StartupEntryTest : public ::testing::Test {
protected:
    void SetUp() override { fake.registry.createKey(RegistryRoot::LocalMachine, kRun); }
    const fakes::FakeRegistry::Value* entry(RegistryRoot root = RegistryRoot::LocalMachine) {
        auto* key = fake.registry.find(root, kRun);
        if (key == nullptr) return nullptr;
        auto it = key->find(kName);
        return it == key->end() ? nullptr : &it->second;
    }
    fakes::FakePlatform fake;
    settings::StartupEntry startup{fake.registry, fake.processes, fake.windows};
};

TEST_F(StartupEntryTest, IsWrittenAsAStringWithoutItsNulAndReplacedOnTheNextWrite) {
    fake.processes.ownPath = "C:\\Tools\\qmx.exe";
    startup.setStartupOn();
    ASSERT_NE(entry(), nullptr);
    EXPECT_EQ(entry()->type, platform::kRegSz);
    EXPECT_EQ(std::string(entry()->data.begin(), entry()->data.end()), "C:\\Tools\\qmx.exe");
    fake.processes.ownPath = "C:\\Other Place\\qmx.exe";
    startup.setStartupOn();
    EXPECT_EQ(std::string(entry()->data.begin(), entry()->data.end()),
              "\"C:\\Other Place\\qmx.exe\"");
    EXPECT_EQ(fake.registry.find(RegistryRoot::LocalMachine, kRun)->size(), 1u);
}

TEST_F(StartupEntryTest, TheTestFindsTheEntryWhateverItPointsAt) {
    EXPECT_FALSE(startup.startupStat.has_value());
    startup.GetStartupStat();
    EXPECT_EQ(startup.startupStat, 0);
    fake.registry.setString(RegistryRoot::LocalMachine, kRun, kName, "D:\\elsewhere\\qmx.exe");
    startup.GetStartupStat();
    EXPECT_EQ(startup.startupStat, 1);
    fake.registry.setString(RegistryRoot::LocalMachine, kRun, kName, std::string(256, 'x'));
    startup.GetStartupStat();
    EXPECT_EQ(startup.startupStat, 0);
}

TEST_F(StartupEntryTest, OffRemovesTheEntryAndAMissingEntryIsSilent) {
    startup.setStartupOn();
    startup.setStartupOff(platform::kNoWindow);
    EXPECT_EQ(entry(), nullptr);
    startup.setStartupOff(platform::kNoWindow);
    EXPECT_TRUE(fake.windows.messageBoxes.empty());
}

// A standard user (or an administrator under UAC without elevation) may not write the
// machine-wide Run key: the entry goes into the user's own Run key instead.
TEST_F(StartupEntryTest, AStandardUsersEntryGoesToTheirOwnRunKeyAndComesOutAgain) {
    fake.registry.readOnlyRoots.insert(RegistryRoot::LocalMachine);
    fake.processes.ownPath = "C:\\Program Files\\Velto\\qmx.exe";
    startup.setStartupOn();
    EXPECT_EQ(entry(), nullptr);
    ASSERT_NE(entry(RegistryRoot::CurrentUser), nullptr);
    EXPECT_EQ(std::string(entry(RegistryRoot::CurrentUser)->data.begin(),
                          entry(RegistryRoot::CurrentUser)->data.end()),
              "\"C:\\Program Files\\Velto\\qmx.exe\"");
    startup.GetStartupStat();
    EXPECT_EQ(startup.startupStat, 1);
    startup.setStartupOff(platform::kNoWindow);
    EXPECT_EQ(entry(RegistryRoot::CurrentUser), nullptr);
    startup.GetStartupStat();
    EXPECT_EQ(startup.startupStat, 0);
    EXPECT_TRUE(fake.windows.messageBoxes.empty());
}

TEST_F(StartupEntryTest, AMachineWideEntryThatCannotBeRemovedIsReportedNotKept) {
    fake.registry.setString(RegistryRoot::LocalMachine, kRun, kName, "C:\Tools\qmx.exe");
    fake.registry.setString(RegistryRoot::CurrentUser, kRun, kName, "C:\Tools\qmx.exe");
    fake.registry.readOnlyRoots.insert(RegistryRoot::LocalMachine);
    startup.setStartupOff(42);
    EXPECT_EQ(entry(RegistryRoot::CurrentUser), nullptr);  // what can go, goes
    ASSERT_EQ(fake.windows.messageBoxes.size(), 1u);
    EXPECT_EQ(fake.windows.messageBoxes[0].owner, 42u);
    EXPECT_EQ(fake.windows.messageBoxes[0].text, settings::kMachineEntryStays);
    EXPECT_EQ(fake.windows.messageBoxes[0].flags, 0x30u);
    startup.GetStartupStat();
    EXPECT_EQ(startup.startupStat, 1);  // the box keeps telling the truth
}

TEST_F(StartupEntryTest, AnUnopenableRunKeyLeavesTheLastTestAsItWas) {
    startup.setStartupOn();
    startup.GetStartupStat();
    fake.registry.keys.clear();
    startup.GetStartupStat();
    EXPECT_EQ(startup.startupStat, 1);
}

}  // namespace
}  // namespace qmx::testing
