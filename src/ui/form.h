#pragma once

#include <vector>

#include "platform/forms.h"
#include "platform/timers.h"
#include "platform/window_placement.h"
#include "resources/form_definition.h"

namespace qmx::ui {

class Control;
class Timer;

// The seams every window of the program stands on: the window and its controls, its place on the
// screen, its timers.
struct WindowServices {
    platform::Forms& forms;
    platform::WindowPlacement& placement;
    platform::Timers& timers;
};

// A window of the program: the state of its controls and its event handlers. The window itself
// exists only while the form is loaded; touching a control of an unloaded form loads it first.
// Unloading discards the window and puts every control back to its designed state.
class Form : public platform::WindowEvents {
public:
    Form(const WindowServices& services, const resources::FormDefinition& definition);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    bool loaded() const { return loaded_; }
    void load();
    void unload();
    // Loads the form unless it is loaded or loading.
    void ensureLoaded();

    platform::WindowId window() const { return window_; }
    // The window's background picture.
    void setPicture(platform::PictureId picture);
    platform::Forms& forms() { return services_.forms; }
    platform::WindowPlacement& placement() { return services_.placement; }
    platform::Timers& timers() { return services_.timers; }
    const resources::FormDefinition& definition() const { return definition_; }

    void onTimer(int timerId) override;
    void onClick(int controlId) override;
    void onDoubleClick(int controlId) override;
    void onPointerDown(int controlId, int button, float x, float y) override;
    void onPointerMove(int controlId, int buttons, float x, float y) override;
    void onPointerUp(int controlId, int button, float x, float y) override;
    void onTaskbarCreated() override {}
    // The close box unloads the window.
    void onClose() override { unload(); }
    void onSessionEnding() override {}
    void onPointerCaptureLost(int controlId) override;
    void onMultimediaNotify(int, std::uint32_t) override {}
    void onHotKey(int) override {}
    void onKey(platform::Key key, bool repeated) override;
    void onWheel(int delta, int x, int y) override;
    void onDpiChanged(int dpi) override;
    void onPointerWatched(int x, int y, int wheelDelta) override;
    // Shows the window, loading it first when it is not loaded.
    void show();
    // Shows the window and makes it the active one, in front of other programs' windows.
    void bringToFront();

protected:
    virtual void handleLoad() {}
    virtual void handleUnload() {}
    virtual void handleClick(int /*controlId*/) {}
    virtual void handleDoubleClick(int /*controlId*/) {}
    virtual void handlePointerDown(int /*controlId*/, int /*button*/, float /*x*/, float /*y*/) {}
    virtual void handlePointerMove(int /*controlId*/, int /*buttons*/, float /*x*/, float /*y*/) {}
    virtual void handlePointerUp(int /*controlId*/, int /*button*/, float /*x*/, float /*y*/) {}
    virtual void handlePointerCaptureLost(int /*controlId*/) {}
    virtual void handleKey(platform::Key /*key*/, bool /*repeated*/) {}
    virtual void handleWheel(int /*delta*/, int /*x*/, int /*y*/) {}
    virtual void handleDpiChanged(int /*dpi*/) {}
    virtual void handlePointerWatched(int /*x*/, int /*y*/, int /*wheelDelta*/) {}

private:
    friend class Control;
    friend class Timer;
    void add(Control& control) { controls_.push_back(&control); }
    void add(Timer& timer) { timers_.push_back(&timer); }

    WindowServices services_;
    const resources::FormDefinition& definition_;
    platform::WindowId window_ = platform::kNoWindow;
    bool loaded_ = false;
    bool loading_ = false;
    platform::PictureId picture_ = platform::PictureId::None;
    std::vector<Control*> controls_;
    std::vector<Timer*> timers_;
};

}  // namespace qmx::ui
