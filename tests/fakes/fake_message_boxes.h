#pragma once

#include <functional>
#include <string>
#include <vector>

#include "fakes/call_log.h"
#include "platform/message_boxes.h"

namespace qmx::fakes {

// Simulated message boxes: each is recorded as it opens and answered with OK.
class FakeMessageBoxes : public platform::MessageBoxes {
public:
    explicit FakeMessageBoxes(CallLog& log) : log_(log) {}

    int messageBox(platform::WindowId owner, std::string_view text, std::string_view caption,
                   unsigned flags) override {
        log_.add("windows.messageBox " + std::string(text));
        shown.push_back({owner, std::string(text), std::string(caption), flags});
        if (whileShown) whileShown(shown.back());
        return 1;  // IDOK
    }

    struct MessageBox {
        platform::WindowId owner;
        std::string text;
        std::string caption;
        unsigned flags;
    };
    std::vector<MessageBox> shown;
    std::function<void(const MessageBox&)> whileShown;  // runs while the box is "open"

private:
    CallLog& log_;
};

}  // namespace qmx::fakes
