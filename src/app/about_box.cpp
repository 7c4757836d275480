#include "app/about_box.h"

#include "resources/about_form.h"

namespace qmx::app {

using namespace resources::about;

AboutBox::AboutBox(const ui::WindowServices& services, platform::Shell& shell,
                   mixer::MixerAccess& mixer)
    : ui::Form(services, resources::aboutForm()),
      shell_(shell),
      mixer_(mixer),
      lblmanufac_(*this, Lblmanufac),
      label4_(*this, Label4),
      deviceNameTimer_(*this, TmrDeviceName, kDeviceNameIntervalMs, [this] { showDeviceName(); }) {}

// Names the device in use when the box opens (the default output may have changed since), and
// again while it is open.
void AboutBox::handleLoad() {
    showDeviceName();
    deviceNameTimer_.setEnabled(true);
}

void AboutBox::showDeviceName() {
    const std::string& name = mixer_.refreshMixerName();
    if (name.empty()) return;
    const std::string caption = "Mixer :" + std::string(" ") + name;
    if (caption != lblmanufac_.caption()) lblmanufac_.setCaption(caption);
}

void AboutBox::handleClick(int controlId) {
    switch (controlId) {
        case Label4:
            shell_.openAddress(kMakerAddress);
            break;
        case Label1:
            shell_.openAddress(kGraphicsAddress);
            break;
        case Label6:
            // Current Windows no longer offers the browser automation object.
            if (!shell_.openInNewBrowserWindow(kMakerAddress)) shell_.openAddress(kMakerAddress);
            break;
        default:
            break;
    }
}

// Once the pointer has passed over the logo, the maker's address stays without underline.
void AboutBox::handlePointerMove(int controlId, int, float, float) {
    if (controlId == Image1) label4_.setUnderline(false);
}

}  // namespace qmx::app
