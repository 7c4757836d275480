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
    const fakes::FakeRegistry::Value* entry() {
        auto* key = fake.registry.find(RegistryRoot::LocalMachine, kRun);
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

TEST_F(StartupEntryTest, OffRemovesTheEntryAndMissingEntriesOrRightsAreSilent) {
    startup.setStartupOn();
    startup.setStartupOff();
    EXPECT_EQ(entry(), nullptr);
    startup.setStartupOff();
    fake.registry.readOnlyRoots.insert(RegistryRoot::LocalMachine);
    startup.setStartupOn();
    EXPECT_EQ(entry(), nullptr);
    startup.GetStartupStat();
    EXPECT_EQ(startup.startupStat, 0);
    EXPECT_TRUE(fake.windows.messageBoxes.empty());
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
