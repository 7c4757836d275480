#include <gtest/gtest.h>

#include "common/paths.h"
#include "fakes/fake_platform.h"
#include "settings/startup_entry.h"

namespace qmx::testing {
namespace {

using platform::RegistryRoot;
const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kName = "Velto Volume Controller 4.0";

// The machine's installed-programs entry naming FOLDER as the installation for everyone.
void installedForEveryoneIn(fakes::FakeRegistry& registry, const std::string& folder) {
    registry.setString(RegistryRoot::LocalMachine, settings::kUninstallKey, "InstallLocation",
                       folder);
}

// The program's entry in a Run key, if any.
const fakes::FakeRegistry::Value* runEntry(fakes::FakeRegistry& registry, RegistryRoot root) {
    auto* key = registry.find(root, kRun);
    if (key == nullptr) return nullptr;
    auto it = key->find(kName);
    return it == key->end() ? nullptr : &it->second;
}

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
    void SetUp() override {
        fake.registry.createKey(RegistryRoot::LocalMachine, kRun);
        installedForEveryoneIn(fake.registry, "C:\\Program Files\\Velto");
    }
    const fakes::FakeRegistry::Value* entry(RegistryRoot root = RegistryRoot::LocalMachine) {
        return runEntry(fake.registry, root);
    }
    fakes::FakePlatform fake;
    settings::StartupEntry startup{fake.registry, fake.processes, fake.system, fake.messageBoxes};
};

TEST_F(StartupEntryTest, IsWrittenAsAStringAndReplacedOnTheNextWrite) {
    fake.processes.ownPath = "C:\\PROGRA~1\\qmx.exe";
    fake.system.programFiles = {"C:\\PROGRA~1"};
    installedForEveryoneIn(fake.registry, "C:\\PROGRA~1");
    startup.setStartupOn();
    ASSERT_NE(entry(), nullptr);
    EXPECT_EQ(entry()->type, platform::kRegSz);
    EXPECT_EQ(std::string(entry()->data.begin(), entry()->data.end()), "C:\\PROGRA~1\\qmx.exe");
    fake.processes.ownPath = "C:\\Program Files (x86)\\Other Place\\qmx.exe";
    fake.system.programFiles = {"C:\\Program Files (x86)"};
    installedForEveryoneIn(fake.registry, "C:\\Program Files (x86)\\Other Place\\");
    startup.setStartupOn();
    EXPECT_EQ(std::string(entry()->data.begin(), entry()->data.end()),
              "\"C:\\Program Files (x86)\\Other Place\\qmx.exe\"");
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
    EXPECT_TRUE(fake.messageBoxes.shown.empty());
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
    EXPECT_TRUE(fake.messageBoxes.shown.empty());
}

TEST_F(StartupEntryTest, AMachineWideEntryThatCannotBeRemovedIsReportedNotKept) {
    fake.registry.setString(RegistryRoot::LocalMachine, kRun, kName, "C:\\Tools\\qmx.exe");
    fake.registry.setString(RegistryRoot::CurrentUser, kRun, kName, "C:\\Tools\\qmx.exe");
    fake.registry.readOnlyRoots.insert(RegistryRoot::LocalMachine);
    startup.setStartupOff(42);
    EXPECT_EQ(entry(RegistryRoot::CurrentUser), nullptr);  // what can go, goes
    ASSERT_EQ(fake.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(fake.messageBoxes.shown[0].owner, 42u);
    EXPECT_EQ(fake.messageBoxes.shown[0].text, settings::kMachineEntryStays);
    EXPECT_EQ(fake.messageBoxes.shown[0].flags, 0x30u);
    startup.GetStartupStat();
    EXPECT_EQ(startup.startupStat, 1);  // the box keeps telling the truth
}

std::string dataOf(const fakes::FakeRegistry::Value* value) {
    return value ? std::string(value->data.begin(), value->data.end()) : "(none)";
}

// One entry per user, whichever Run key may be written: a standard user whose administrator
// turned the machine-wide entry on adds none of their own, and an elevated Apply moves this
// executable's user entry to the machine-wide key. Another copy's user entry stays. Only the
// installation for everyone (the folder its installed-programs entry names, in Program Files)
// gets the machine-wide entry; any other copy, even elevated, gets the user's entry, which
// replaces a machine-wide one written before (letter case and "..\" do not make a folder Program
// Files; short and long names of one folder are one folder).
TEST_F(StartupEntryTest, OneEntryStartsTheProgramForAUser) {
    const std::string folder = "C:\\Program Files\\Velto";
    const std::string installed = folder + "\\qmx.exe";
    const std::string self = "\"" + installed + "\"";
    const std::string other = "D:\\Portable\\qmx.exe";
    const std::string lower = "\"c:\\program files\\Velto\\qmx.exe\"";
    const std::string escaping = "\"C:\\Program Files\\..\\Tools\\qmx.exe\"";
    const std::string beside = "C:\\Program FilesX\\Velto\\qmx.exe";
    const std::string sibling = "C:\\Program Files\\Velto Old\\qmx.exe";
    const std::string nested = "C:\\Program Files\\Velto\\Old\\qmx.exe";
    const auto quoted = [](const std::string& path) { return "\"" + path + "\""; };
    struct Case {
        const char* name;
        std::string path, machineBefore, userBefore;
        bool elevated;
        std::string machineAfter, userAfter;
        std::string installedFolder = "C:\\Program Files\\Velto";
    };
    const Case cases[] = {
        {"standard user, machine-wide entry on", installed, self, "", false, self, "(none)"},
        {"elevated, user entry from before", installed, "", self, true, self, "(none)"},
        {"elevated, another copy's user entry", installed, "", other, true, self, other},
        {"standard user, nothing before", installed, "", "", false, "(none)", self},
        {"elevated, portable copy", other, "", "", true, "(none)", other},
        {"elevated, portable copy's machine entry from before", other, other, "", true, "(none)",
         other},
        {"elevated, Program Files in other letters", "c:\\program files\\Velto\\qmx.exe", "", "",
         true, lower, "(none)"},
        {"elevated, a path leaving Program Files", "C:\\Program Files\\..\\Tools\\qmx.exe", "", "",
         true, "(none)", escaping, "C:\\Program Files\\..\\Tools"},
        {"elevated, a folder named Program Files and more", beside, "", "", true, "(none)",
         quoted(beside), "C:\\Program FilesX\\Velto"},
        {"elevated, beside the installation", sibling, "", "", true, "(none)", quoted(sibling)},
        {"elevated, inside the installation", nested, "", "", true, "(none)", quoted(nested)},
        {"elevated, no installation for everyone", installed, "", "", true, "(none)", self, ""},
        {"elevated, started by the short name", "C:\\PROGRA~1\\VELTO\\QMX.EXE", "", "", true, self,
         "(none)"},
        {"elevated, installed by the short name", installed, "", "", true, self, "(none)",
         "C:\\PROGRA~1\\VELTO\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fakes::FakePlatform rig;
        rig.processes.ownPath = c.path;
        rig.system.longPaths = {{"C:\\PROGRA~1\\VELTO\\QMX.EXE", installed},
                                {"C:\\PROGRA~1\\VELTO\\", folder + "\\"}};
        if (!c.installedFolder.empty()) installedForEveryoneIn(rig.registry, c.installedFolder);
        rig.registry.createKey(RegistryRoot::LocalMachine, kRun);
        rig.registry.createKey(RegistryRoot::CurrentUser, kRun);
        if (!c.machineBefore.empty()) {
            rig.registry.setString(RegistryRoot::LocalMachine, kRun, kName, c.machineBefore);
        }
        if (!c.userBefore.empty()) {
            rig.registry.setString(RegistryRoot::CurrentUser, kRun, kName, c.userBefore);
        }
        if (!c.elevated) rig.registry.readOnlyRoots.insert(RegistryRoot::LocalMachine);
        settings::StartupEntry entry{rig.registry, rig.processes, rig.system, rig.messageBoxes};
        entry.setStartupOn();
        EXPECT_EQ(dataOf(runEntry(rig.registry, RegistryRoot::LocalMachine)), c.machineAfter);
        EXPECT_EQ(dataOf(runEntry(rig.registry, RegistryRoot::CurrentUser)), c.userAfter);
        EXPECT_TRUE(rig.messageBoxes.shown.empty());
    }
}

// A folder whose name the system's code page cannot spell: the entry names it exactly.
TEST_F(StartupEntryTest, NamesAFolderOfAnyLanguageExactly) {
    fake.processes.ownPath =
        "C:\\Program Files\\\u0418\u0432\u0430\u043d\\\u0417\u0432\u0443\u043a \u97f3\\qmx.exe";
    installedForEveryoneIn(fake.registry, folderOf(fake.processes.ownPath));
    startup.setStartupOn();
    EXPECT_EQ(dataOf(entry()), "\"" + fake.processes.ownPath + "\"");
    EXPECT_EQ(fake.log.count("registry.setText Velto Volume Controller 4.0"), 1);
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
