// The log of what the system answered: nothing before it is started, one stamped line per
// event, and a file that never grows past its bound.
#include <gtest/gtest.h>

#include "common/event_log.h"
#include "fakes/fake_log_file.h"

namespace qmx {
namespace {

TEST(EventLog, WritesNothingUntilStartedThenStampedLines) {
    fakes::FakeLogFile file;
    EventLog log(file);
    log.write("before");
    EXPECT_EQ(file.text, "");

    log.start();
    log.write("started");
    EXPECT_EQ(file.text, "2026-12-09 08:30:05.042 started\r\n");
}

TEST(EventLog, MovesTheFileAsideBeforePassingItsBound) {
    fakes::FakeLogFile file;
    file.text = std::string(EventLog::kBound - 40, 'x');  // left by an earlier run
    EventLog log(file);
    log.start();

    log.write("fits");  // 24 + 4 + 2 bytes: 30 of the 40 left
    EXPECT_EQ(file.previous, "");
    EXPECT_EQ(file.lines(), std::vector<std::string>{"fits"});

    log.write("passes");  // 32 bytes where 10 are left
    EXPECT_EQ(file.previous.size(), EventLog::kBound - 10);
    EXPECT_EQ(file.text, "2026-12-09 08:30:05.042 passes\r\n");

    log.write("again");
    EXPECT_EQ(file.lines(), (std::vector<std::string>{"passes", "again"}));
}

TEST(EventLog, AFileThatCannotBeWrittenCountsNothing) {
    fakes::FakeLogFile file;
    file.writable = false;
    EventLog log(file);
    log.start();
    for (int i = 0; i < 10000; ++i) log.write("lost");  // 31 bytes each, past the bound if counted
    file.writable = true;
    log.write("kept");
    EXPECT_EQ(file.previous, "");
    EXPECT_EQ(file.lines(), std::vector<std::string>{"kept"});
}

}  // namespace
}  // namespace qmx
