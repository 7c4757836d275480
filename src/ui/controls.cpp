#include "ui/controls.h"

#include <utility>

namespace qmx::ui {

Control::Control(Form& owner, int id) : owner_(owner), id_(id) {
    owner.add(*this);
    Control::reset();
}

const resources::ControlDefinition* Control::design() const {
    return owner_.definition().control(id_);
}

bool Control::hasWindow() const {
    return design() != nullptr;
}

void Control::reset() {
    const auto* d = design();
    top_ = d ? static_cast<float>(d->top) : 0.0f;
    visible_ = d ? d->visible : true;
}

float Control::top() {
    form();
    return top_;
}

void Control::setTop(float top) {
    Form& f = form();
    if (top == top_) return;
    top_ = top;
    const float left = design() ? static_cast<float>(design()->left) : 0.0f;
    if (hasWindow()) f.forms().moveControl(f.window(), id(), left, top_);
}

bool Control::visible() {
    form();
    return visible_;
}

void Control::setVisible(bool visible) {
    Form& f = form();
    if (visible == visible_) return;
    visible_ = visible;
    if (hasWindow()) f.forms().setControlVisible(f.window(), id(), visible_);
}

TextBox::TextBox(Form& owner, int id, std::string designText)
    : Control(owner, id), design_(std::move(designText)), text_(design_) {}

const std::string& TextBox::text() {
    form();
    return text_;
}

void TextBox::setText(std::string text) {
    Form& f = form();
    if (text == text_) return;
    text_ = std::move(text);
    if (hasWindow()) f.forms().setControlText(f.window(), id(), text_);
}

Label::Label(Form& owner, int id) : Control(owner, id) {
    reset();
}

void Label::reset() {
    Control::reset();
    caption_ = design() ? design()->caption : "";
    underline_ = design() && design()->font && design()->font->underline;
}

bool Label::underline() {
    form();
    return underline_;
}

void Label::setUnderline(bool underline) {
    Form& f = form();
    if (underline == underline_) return;
    underline_ = underline;
    f.forms().setControlUnderline(f.window(), id(), underline_);
}

const std::string& Label::caption() {
    form();
    return caption_;
}

void Label::setCaption(std::string caption) {
    Form& f = form();
    if (caption == caption_) return;
    caption_ = std::move(caption);
    f.forms().setControlText(f.window(), id(), caption_);
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
    f.forms().setControlValue(f.window(), id(), value_);
    if (onClick_) onClick_();
}

void Picture::reset() {
    Control::reset();
    picture_ = design() ? design()->picture : platform::PictureId::None;
}

platform::PictureId Picture::picture() {
    form();
    return picture_;
}

void Picture::setPicture(platform::PictureId picture) {
    Form& f = form();
    if (picture == picture_) return;
    picture_ = picture;
    f.forms().setPicture(f.window(), id(), picture_);
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
        owner_.timers().setTimer(owner_.window(), id_, intervalMs_);
    } else {
        owner_.timers().killTimer(owner_.window(), id_);
    }
}

void Timer::tick() {
    if (enabled_ && owner_.loaded() && onTick_) onTick_();
}

}  // namespace qmx::ui
