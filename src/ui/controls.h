#pragma once

#include <functional>
#include <string>

#include "ui/form.h"

namespace qmx::ui {

// A control's state. Reading or changing it loads its form first; a change reaches the control's
// window, if the design gives it one, and setting what the control already shows reaches nothing
// (the volume follow-up sets the knob and the label a hundred times a second).
class Control {
public:
    Control(Form& owner, int id);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    int id() const { return id_; }
    // Back to the designed state (the form was unloaded).
    virtual void reset();

    float top();
    void setTop(float top);
    bool visible();
    void setVisible(bool visible);

protected:
    Form& form() {
        owner_.ensureLoaded();
        return owner_;
    }
    bool hasWindow() const;
    const resources::ControlDefinition* design() const;

private:
    Form& owner_;
    int id_;
    float top_ = 0;
    bool visible_ = true;
};

class TextBox : public Control {
public:
    TextBox(Form& owner, int id, std::string designText);
    const std::string& text();
    void setText(std::string text);
    void reset() override {
        Control::reset();
        text_ = design_;
    }

private:
    std::string design_;
    std::string text_;
};

class Label : public Control {
public:
    Label(Form& owner, int id);
    const std::string& caption();
    void setCaption(std::string caption);
    bool underline();
    void setUnderline(bool underline);
    void reset() override;

private:
    std::string caption_;
    bool underline_ = false;
};

// A check box: 0 unchecked, 1 checked. Changing the value by code raises the click handling just
// as a user's click does; setting the value it already has raises nothing.
class CheckBox : public Control {
public:
    CheckBox(Form& owner, int id, std::function<void()> onClick);
    int value();
    void setValue(int value);
    // A user's click toggles the box.
    void clickedByUser() { setValue(value_ == 0 ? 1 : 0); }
    void reset() override {
        Control::reset();
        value_ = 0;
    }

private:
    std::function<void()> onClick_;
    int value_ = 0;
};

// A picture or picture box.
class Picture : public Control {
public:
    Picture(Form& owner, int id) : Control(owner, id) { reset(); }
    platform::PictureId picture();
    void setPicture(platform::PictureId picture);
    void reset() override;

private:
    platform::PictureId picture_ = platform::PictureId::None;
};

// A timer ticks only while enabled, and only while its form is loaded.
class Timer {
public:
    Timer(Form& owner, int id, unsigned intervalMs, std::function<void()> onTick);
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    int id() const { return id_; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    void tick();
    void reset() { enabled_ = false; }

private:
    Form& owner_;
    int id_;
    unsigned intervalMs_;
    std::function<void()> onTick_;
    bool enabled_ = false;
};

}  // namespace qmx::ui
