#include "ui/form.h"

#include "ui/controls.h"

namespace qmx::ui {

Form::Form(const WindowServices& services, const resources::FormDefinition& definition)
    : services_(services), definition_(definition) {}

Form::~Form() {
    if (window_ != platform::kNoWindow) services_.forms.destroyWindow(window_);
}

void Form::load() {
    if (loaded_ || loading_) return;
    loading_ = true;
    window_ = services_.forms.createWindow(definition_, *this);
    loaded_ = true;
    handleLoad();
    loading_ = false;
}

void Form::ensureLoaded() {
    load();
}

void Form::unload() {
    if (!loaded_) return;
    handleUnload();
    services_.forms.destroyWindow(window_);
    window_ = platform::kNoWindow;
    loaded_ = false;
    picture_ = platform::PictureId::None;
    for (Timer* timer : timers_) timer->reset();
    for (Control* control : controls_) control->reset();
}

void Form::show() {
    ensureLoaded();
    services_.placement.showWindow(window_);
}

void Form::bringToFront() {
    show();
    services_.placement.setForegroundWindow(window_);
}

void Form::setPicture(platform::PictureId picture) {
    ensureLoaded();
    if (picture == picture_) return;
    picture_ = picture;
    services_.forms.setPicture(window_, platform::kFormItself, picture_);
}

void Form::onTimer(int timerId) {
    for (Timer* timer : timers_) {
        if (timer->id() == timerId) timer->tick();
    }
}

void Form::onClick(int controlId) {
    if (loaded_) handleClick(controlId);
}

void Form::onDoubleClick(int controlId) {
    if (loaded_) handleDoubleClick(controlId);
}

void Form::onPointerDown(int controlId, int button, float x, float y) {
    if (loaded_) handlePointerDown(controlId, button, x, y);
}

void Form::onPointerMove(int controlId, int buttons, float x, float y) {
    if (loaded_) handlePointerMove(controlId, buttons, x, y);
}

void Form::onPointerUp(int controlId, int button, float x, float y) {
    if (loaded_) handlePointerUp(controlId, button, x, y);
}

void Form::onKey(platform::Key key, bool repeated) {
    if (loaded_) handleKey(key, repeated);
}

void Form::onWheel(int delta, int x, int y) {
    if (loaded_) handleWheel(delta, x, y);
}

void Form::onDpiChanged(int dpi) {
    if (loaded_) handleDpiChanged(dpi);
}

void Form::onPointerWatched(int x, int y, int wheelDelta) {
    if (loaded_) handlePointerWatched(x, y, wheelDelta);
}

void Form::onPointerCaptureLost(int controlId) {
    if (loaded_) handlePointerCaptureLost(controlId);
}

}  // namespace qmx::ui
