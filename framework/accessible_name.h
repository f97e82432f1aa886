#pragma once
// Names for screen readers. The system's own accessible object of a window
// names it by the window's text, which for Brisq's windows is a glyph, markup
// or nothing; these answer with the same object under a name that says what
// the window does, and leave the text as it is.

#include <windows.h>

#include <string>
#include <utility>

#include "framework/control_object.h"
#include "framework/message_table.h"

// Answers WM_GETOBJECT for the window itself or its client area; false (the
// message left to the window) for other objects, or when the system's object
// cannot be made.
bool AnswerAccessibleName(Message& m, const std::string& name);

// A control that is named by a label a screen reader does not find: a label
// that follows its field in the tab order, which a plain dialog takes as the
// next field's.
class NamedControl final : public ControlObject {
public:
    explicit NamedControl(std::string name) : name_(std::move(name)) {}
    bool ProcessMessage(Message& m) override {
        return m.id == WM_GETOBJECT && AnswerAccessibleName(m, name_);
    }

private:
    std::string name_;
};
