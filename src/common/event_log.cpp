#include "common/event_log.h"

#include <cstdio>

namespace qmx {

void EventLog::write(std::string_view line) {
    if (!started_) return;
    const platform::LocalTime t = file_.now();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d.%03d ", t.year, t.month,
                  t.day, t.hour, t.minute, t.second, t.millisecond);
    std::string text = stamp;
    text.append(line);
    text += "\r\n";

    // The size is asked once; afterwards the log counts what it wrote itself.
    if (!sizeKnown_) {
        size_ = file_.size();
        sizeKnown_ = true;
    }
    if (size_ + text.size() > kBound && size_ > 0) {
        file_.keepAsPrevious();
        size_ = 0;
    }
    if (file_.append(text)) size_ += text.size();
}

std::string hexCode(std::uint32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(code));
    return text;
}

}  // namespace qmx
