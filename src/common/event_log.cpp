#include "common/event_log.h"

#include <utility>

#include "common/number_text.h"
#include "common/result_words.h"

namespace qmx {

namespace {
// Marks a new file as UTF-8: Notepad before Windows 10 reads a file without it in the system's
// code page, and device names may hold any character.
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
}  // namespace

void EventLog::start(Opening opening) {
    started_ = true;
    opening_ = std::move(opening);
}

void EventLog::writeOpening() {
    if (!started_ || !opening_ || openingWritten_) return;
    openingWritten_ = true;
    opening_(*this);
}

void EventLog::write(std::string_view line) {
    if (!started_) return;
    writeOpening();
    const platform::LocalTime t = file_.now();
    std::string text = zeroPadded(t.year, 4) + "-" + zeroPadded(t.month, 2) + "-" +
                       zeroPadded(t.day, 2) + " " + zeroPadded(t.hour, 2) + ":" +
                       zeroPadded(t.minute, 2) + ":" + zeroPadded(t.second, 2) + "." +
                       zeroPadded(t.millisecond, 3) + " ";
    for (const char c : line) text += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    text += "\r\n";
    keep(std::move(text));
}

// The size is asked before every line, as another copy of the program (one that ends itself at
// start-up) or the user may have changed the file meanwhile; lines are rare. When the file
// cannot be moved aside (a program holds it open without letting it be renamed) the line is
// dropped rather than passing the bound. A new file starts with the run's facts again, so that
// each file a user sends says what it came from.
void EventLog::keep(std::string text) {
    std::uint64_t size = file_.size();
    if (size > 0 && size + text.size() > kBound) {
        file_.keepAsPrevious();
        if (file_.size() > 0) return;
        if (opening_ && openingWritten_) {
            write("Continued from qmx.old.log");
            opening_(*this);
        }
        size = file_.size();
    }
    if (size == 0) text.insert(0, kUtf8Mark);
    file_.append(text);
}

std::string hexCode(std::uint32_t code) {
    const std::string text = "0x" + hexDigits(code, 8);
    const std::string words = resultWords(code);
    return words.empty() ? text : text + " (" + words + ")";
}

}  // namespace qmx
