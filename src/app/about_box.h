#pragma once

#include "mixer/mixer_access.h"
#include "platform/shell.h"
#include "ui/controls.h"

namespace qmx::app {

// The About box (Form3): the product, the mixer in use and the maker's addresses. While it is
// open it names the device in use as it is now: another default output, a device renamed.
class AboutBox : public ui::Form {
public:
    AboutBox(const ui::WindowServices& services, platform::Shell& shell, mixer::MixerAccess& mixer);

    ui::Label& lblmanufac() { return lblmanufac_; }
    ui::Label& label4() { return label4_; }

protected:
    void handleLoad() override;
    void handleClick(int controlId) override;
    void handlePointerMove(int controlId, int buttons, float x, float y) override;

private:
    platform::Shell& shell_;
    mixer::MixerAccess& mixer_;
    void showDeviceName();

    ui::Label lblmanufac_;
    ui::Label label4_;
    ui::Timer deviceNameTimer_;
};

}  // namespace qmx::app
