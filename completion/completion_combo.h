#pragma once
#include <optional>
#include <string>

#include "completion/completion_edit.h"

// The command box: keeps its edit field's completion list in step with the
// drop-down and sends the field's notifications back to it.
class CompletionCombo : public ControlObject {
public:
    explicit CompletionCombo(const CodePage& page = SystemCodePage()) : edit_(page) {}

    bool ProcessMessage(Message& m) override;

    virtual void AddItem(const char* text) { edit_.AddEntry(text); }
    virtual void RemoveItem(const char* text) { edit_.RemoveEntry(text); }
    virtual void ClearItems() { edit_.ClearEntries(); }

    // The whole text of a drop-down item; null when there is no such item.
    std::optional<std::string> ItemText(WPARAM index) const;

    const CompletionEdit& Edit() const { return edit_; }

protected:
    // Takes over the edit field too; a missing one leaves the box without completion.
    void OnAttached() override;

private:
    void OnAddString(Message& m);
    void OnDeleteString(Message& m);
    void OnResetContent(Message& m);

    CompletionEdit edit_;

    static const MessageEntry<CompletionCombo> kMessages[];
};
