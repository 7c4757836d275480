#include "app_harness.h"

namespace qmx::testing {
namespace {

class SingleInstanceScan : public AppTest {
protected:
    const std::string& ownPath() { return fake.processes.ownPath; }
};

TEST_F(SingleInstanceScan, OneCopyRunsOn) {
    fake.processes.addProcess(300, "C:\\Windows\\explorer.exe");
    EXPECT_EQ(start(), -1);
    EXPECT_EQ(fake.processes.mutexes, std::vector<std::string>{"qmx"});
}

TEST_F(SingleInstanceScan, ComparesTheWholePathLetterCaseIncluded) {
    fake.processes.addProcess(301, "C:\\Program Files\\velto\\qmx.exe");
    fake.processes.addProcess(302, "C:\\Program Files\\Velto\\QMX.EXE");
    fake.processes.addProcess(303, "D:\\Program Files\\Velto\\qmx.exe");
    fake.processes.addProcess(304, "C:\\Program Files\\Velto\\qmx2.exe");
    EXPECT_EQ(start(), -1);
}

TEST_F(SingleInstanceScan, ExpectsTheExecutableToBeNamedQmxExe) {
    // Renamed, this copy never matches itself, so even two copies of it run side by side.
    fake.processes.table.back().path = "C:\\Tools\\volume.exe";
    fake.processes.ownPath = "C:\\Tools\\volume.exe";
    fake.processes.addProcess(305, "C:\\Tools\\volume.exe");
    EXPECT_EQ(start(), -1);
}

TEST_F(SingleInstanceScan, AProcessThatCannotBeOpenedIsNotCounted) {
    fake.processes.addProcess(306, std::nullopt);
    EXPECT_EQ(start(), -1);
    EXPECT_NE(std::find(fake.processes.opened.begin(), fake.processes.opened.end(), 306u),
              fake.processes.opened.end());
}

TEST_F(SingleInstanceScan, AnotherCopyListedAfterAnUnopenableProcessIsFound) {
    fake.processes.addProcess(306, std::nullopt);
    fake.processes.addProcess(307, ownPath());
    EXPECT_EQ(start(), static_cast<long>(fake.processes.ownId));
}

// A copy started elevated (Run as administrator) refuses the full query rights to a normal
// process; the limited query still reads its path, so a normal start beside it ends.
// Another user's copy (fast user switching, a remote session) runs in another session: it is
// theirs, and this one runs too; a copy of this session ends it.
TEST_F(SingleInstanceScan, OnlyCopiesOfThisSessionCount) {
    for (bool sameSession : {false, true}) {
        Program copy;
        copy.fake.processes.addProcess(311, copy.fake.processes.ownPath);
        copy.fake.processes.sessions[311] = 2;
        copy.fake.processes.sessions[copy.fake.processes.ownId] = sameSession ? 2 : 1;
        EXPECT_EQ(copy.start(), sameSession ? 4242 : -1) << sameSession;
    }
}

TEST_F(SingleInstanceScan, ACopyRunningElevatedIsFound) {
    fake.processes.addProcess(308, ownPath());
    fake.processes.elevated.insert(308);
    EXPECT_EQ(start(), static_cast<long>(fake.processes.ownId));
}

TEST_F(SingleInstanceScan, TheIdleProcessIsSkipped) {
    EXPECT_EQ(start(), -1);
    EXPECT_EQ(std::count(fake.processes.opened.begin(), fake.processes.opened.end(), 0u), 0);
}

TEST_F(SingleInstanceScan, APathCutShortByTheNameBufferDoesNotMatch) {
    const std::string deep = "C:\\" + std::string(250, 'd') + "\\qmx.exe";
    fake.processes.ownPath = deep;
    fake.processes.table.back().path = deep;
    fake.processes.addProcess(308, deep);
    EXPECT_EQ(start(), -1);
}

TEST_F(SingleInstanceScan, ExaminesOnlyTheFirst1001ListedProcesses) {
    for (std::uint32_t id = 1000; id < 2100; ++id) {
        fake.processes.addProcess(id, "C:\\Windows\\svchost" + std::to_string(id) + ".exe");
    }
    fake.processes.addProcess(5000, ownPath());  // listed beyond the limit
    EXPECT_EQ(start(), -1);
    // The idle process, our own, then identifiers 1000 to 1998: 1001 entries.
    // (The first query reads this program's own path, the way the others' are read.)
    const auto& listed = fake.processes.opened;
    EXPECT_EQ(fake.processes.opened.size(), 1001u);
    EXPECT_EQ(listed.back(), 1998u);
}

TEST_F(SingleInstanceScan, TheProcessListGrowsItsBufferUntilTheSystemReturnsLess) {
    for (std::uint32_t id = 10; id < 40; ++id) fake.processes.addProcess(id, "C:\\x.exe");
    EXPECT_EQ(start(), -1);
    // 32 processes need 128 bytes: the buffer doubles 16, 32, 64, 128, 256.
    for (const char* size : {"16", "32", "64", "128", "256"}) {
        EXPECT_EQ(fake.log.count(std::string("processes.enum ") + size), 1) << size;
    }
    EXPECT_EQ(fake.log.count("processes.enum 512"), 0);
}

// Copies started at the same moment: the instance lock, not the scan, decides which one runs,
// so a copy that holds it never ends because the scan sees the others still ending.
TEST_F(SingleInstanceScan, TheInstanceLockDecidesBeforeTheScan) {
    using platform::InstanceClaim;
    const struct {
        InstanceClaim claim;
        bool otherListed;  // whether the scan would find the other copy
        long exitCode;
    } cases[] = {
        {InstanceClaim::Claimed, true, -1},
        {InstanceClaim::HeldElsewhere, true, 4242},
        {InstanceClaim::HeldElsewhere, false, -1},  // another process took the name: no copy
        {InstanceClaim::Unavailable, true, 4242},   // the scan finds the other copy
    };
    for (auto [claim, otherListed, exitCode] : cases) {
        Program test;
        test.fake.processes.instanceClaim = claim;
        if (otherListed) test.fake.processes.addProcess(309, test.fake.processes.ownPath);
        EXPECT_EQ(test.start(), exitCode) << static_cast<int>(claim) << " " << otherListed;
        EXPECT_TRUE(test.fake.messageBoxes.shown.empty());
        ASSERT_EQ(test.fake.processes.claimedLocks.size(), 1u);
        EXPECT_EQ(test.fake.processes.claimedLocks[0],
                  system_checks::SingleInstance::lockName(test.fake.processes.ownPath));
    }
}

// Started from a substituted drive (or a mapped drive, a junction) the module's name differs
// from the path the system reports for every copy: both the lock and the scan use the latter.
TEST_F(SingleInstanceScan, APathReportedResolvedStillMatchesItself) {
    fake.processes.ownPath = "S:\\qmx.exe";
    fake.processes.ownSystemPath = "C:\\Tools\\Volume\\qmx.exe";
    fake.processes.table.back().path = *fake.processes.ownSystemPath;
    fake.processes.addProcess(310, *fake.processes.ownSystemPath);
    EXPECT_EQ(start(), static_cast<long>(fake.processes.ownId));
    EXPECT_EQ(fake.processes.claimedLocks[0],
              system_checks::SingleInstance::lockName(*fake.processes.ownSystemPath));
}

TEST(InstanceLockName, OnePerPathLetterCaseIncluded) {
    using system_checks::SingleInstance;
    const std::string path = "C:\\Program Files\\Velto\\qmx.exe";
    EXPECT_EQ(SingleInstance::lockName(path), SingleInstance::lockName(path));
    EXPECT_NE(SingleInstance::lockName(path),
              SingleInstance::lockName("C:\\Program Files\\velto\\qmx.exe"));
    EXPECT_NE(SingleInstance::lockName(path),
              SingleInstance::lockName("D:\\Program Files\\Velto\\qmx.exe"));
    // The same letters in another order.
    EXPECT_NE(SingleInstance::lockName("C:\\ab\\qmx.exe"),
              SingleInstance::lockName("C:\\ba\\qmx.exe"));
    // A name the system takes: no separator, a fixed length.
    EXPECT_EQ(SingleInstance::lockName(path).find('\\'), std::string::npos);
    EXPECT_EQ(SingleInstance::lockName(path).size(), SingleInstance::lockName("x").size());
}

}  // namespace
}  // namespace qmx::testing
