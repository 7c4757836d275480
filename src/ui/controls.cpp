#include "ui/controls.h"

#include <utility>

namespace qmx::ui {

Control::Control(Form& owner, int id) : owner_(owner), id_(id) { owner.add(*this); }

const resources::ControlDefinition* Control::design() const {
    return owner_.definition().control(id_);
}

bool Control::hasWindow() const { return design() != nullptr; }

TextBox::TextBox(Form& owner, int id, std::string designText)
    : Control(owner, id), design_(std::move(designText)), text_(design_) {}

const std::string& TextBox::text() {
    form();
    return text_;
}

void TextBox::setText(std::string text) {
    Form& f = form();
    text_ = std::move(text);
    if (hasWindow()) f.windows().setControlText(f.window(), id(), text_);
}

Label::Label(Form& owner, int id) : Control(owner, id) { reset(); }

void Label::reset() { caption_ = design() ? design()->caption : ""; }

const std::string& Label::caption() {
    form();
    return caption_;
}

void Label::setCaption(std::string caption) {
    Form& f = form();
    caption_ = std::move(caption);
    f.windows().setControlText(f.window(), id(), caption_);
}

CheckBox::CheckBox(Form& owner, int id, std::function<void()> onClick)
    : Control(owner, id), onClick_(std::move(onClick)) {}

int CheckBox::value() {
    form();
    return value_;
}

void CheckBox::setValue(int value) {
    Form& f = form();
    if (value == value_) return;
    value_ = value;
    f.windows().setControlValue(f.window(), id(), value_);
    if (onClick_) onClick_();
}

PictureBox::PictureBox(Form& owner, int id) : Control(owner, id) { reset(); }

void PictureBox::reset() { top_ = design() ? static_cast<float>(design()->top) : 0.0f; }

float PictureBox::top() {
    form();
    return top_;
}

void PictureBox::setTop(float top) {
    Form& f = form();
    top_ = top;
    const float left = design() ? static_cast<float>(design()->left) : 0.0f;
    f.windows().moveControl(f.window(), id(), left, top_);
}

Timer::Timer(Form& owner, int id, unsigned intervalMs, std::function<void()> onTick)
    : owner_(owner), id_(id), intervalMs_(intervalMs), onTick_(std::move(onTick)) {
    owner.add(*this);
}

void Timer::setEnabled(bool enabled) {
    owner_.ensureLoaded();
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled_) {
        owner_.windows().setTimer(owner_.window(), id_, intervalMs_);
    } else {
        owner_.windows().killTimer(owner_.window(), id_);
    }
}

void Timer::tick() {
    if (enabled_ && owner_.loaded() && onTick_) onTick_();
}

}  // namespace qmx::ui
