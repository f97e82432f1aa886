#pragma once
#include <string>

#include "completion/completion_list.h"
#include "framework/control_object.h"
#include "text/system_code_page.h"

// The edit field inside the command box: completes what is typed from its
// list, selecting the part that was not typed.
class CompletionEdit final : public ControlObject {
public:
    // Typed characters must arrive whole: the field becomes a Unicode window.
    explicit CompletionEdit(const CodePage& page = SystemCodePage())
        : ControlObject(ControlForm::Unicode), entries_(page) {}

    bool ProcessMessage(Message& m) override;

    void AddEntry(const char* text);
    void RemoveEntry(const char* text);
    void ClearEntries() { entries_.Clear(); }
    const CompletionList& Entries() const { return entries_; }

private:
    void OnKeyDown(Message& m);
    void OnReflectedCommand(Message& m);
    void OnReflected(Message& m);
    void OnLimitText(Message& m);
    void OnUpdate();

    std::string current_;  // the text read at the last completion attempt
    CompletionList entries_;
    bool suppressed_ = false;  // the last key was Backspace or Delete
    bool busy_ = false;        // setting the text nests another EN_UPDATE

    static const MessageEntry<CompletionEdit> kMessages[];
};
