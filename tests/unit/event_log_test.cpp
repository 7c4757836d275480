// The log of what the system answered: nothing before it is started, one stamped line per
// event after the run's opening lines, and a file that never grows past its bound.
#include <gtest/gtest.h>

#include "common/event_log.h"
#include "fakes/fake_log_file.h"

namespace qmx {
namespace {

using Lines = std::vector<std::string>;
const std::string kMark = "\xEF\xBB\xBF";

// The opening heads the first line, or stands alone when nothing else is written; only once.
TEST(EventLog, WritesNothingUntilStartedThenTheOpeningOnceAndOneStampedLinePerEvent) {
    fakes::FakeLogFile file;
    EventLog log(file);
    log.write("before");
    log.writeOpening();
    EXPECT_EQ(file.text, "");

    log.start([](EventLog& opened) { opened.write("facts"); });
    log.write("two\r\nlines");
    log.writeOpening();
    EXPECT_EQ(file.text, kMark + "2026-12-09 08:30:05.042 facts\r\n" +
                             "2026-12-09 08:30:05.042 two  lines\r\n");
    file.text.resize(EventLog::kBound - 10);
    log.write("third");  // a new file is headed by the opening again
    EXPECT_EQ(file.lines(), (Lines{"Continued from qmx.old.log", "facts", "third"}));

    fakes::FakeLogFile quiet;
    EventLog idle(quiet);
    idle.start([](EventLog& opened) { opened.write("facts"); });
    idle.writeOpening();
    idle.writeOpening();
    EXPECT_EQ(quiet.lines(), Lines{"facts"});
}

// A code the program has words for carries them, the same the switch failure shows.
TEST(EventLog, ACodeCarriesTheProgramsWordsForIt) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {0x88890010, "0x88890010 (The audio service is not running.)"},
        {0x88890004, "0x88890004 (The device is not connected.)"},
        {0x8889000A, "0x8889000A (Another program uses the device exclusively.)"},
        {0x80004005, "0x80004005"},  // E_FAIL: the system's own words
        {0x1F, "0x0000001F"},        // a Win32 error: eight digits all the same
    };
    for (const auto& [code, text] : cases) EXPECT_EQ(hexCode(code), text);
}

// Moved aside before a line would pass the bound; a file that cannot be moved aside drops the
// line rather than pass it.
TEST(EventLog, KeepsTheFileWithinItsBound) {
    fakes::FakeLogFile file;
    const std::string earlier(EventLog::kBound - 60, 'x');  // left by an earlier run
    file.text = earlier;
    EventLog log(file);
    log.start();

    log.write("fits");    // 24 + 4 + 2 bytes: 30 of the 60 left
    log.write("at the");  // 32 bytes where 30 are left
    EXPECT_EQ(file.previous, earlier + "2026-12-09 08:30:05.042 fits\r\n");
    EXPECT_EQ(file.lines(), Lines{"at the"});

    file.text.resize(EventLog::kBound - 30);
    log.write("bound");  // 31 bytes: the file would reach kBound + 1
    EXPECT_EQ(file.text, kMark + "2026-12-09 08:30:05.042 bound\r\n");
    file.text.resize(EventLog::kBound - 30);
    log.write("edge");  // 30 bytes: the file reaches kBound exactly
    EXPECT_EQ(file.text.size(), EventLog::kBound);

    file.movable = false;
    log.write("dropped");
    EXPECT_EQ(file.text.size(), EventLog::kBound);
    file.movable = true;
    log.write("kept");
    EXPECT_EQ(file.lines(), Lines{"kept"});
}

}  // namespace
}  // namespace qmx
