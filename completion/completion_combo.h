#pragma once
#include <optional>
#include <string>

#include "completion/completion_edit.h"
#include "completion/source_rules.h"

// The command box: keeps its edit field's completion list in step with the
// drop-down, sends the field's notifications back to it, and keeps the lines
// that ran at the top of the drop-down.
class CompletionCombo : public ControlObject {
public:
    explicit CompletionCombo(const CodePage& page = SystemCodePage()) : edit_(page), runLines_(page) {}

    bool ProcessMessage(Message& m) override;

    virtual void AddItem(const char* text) { edit_.AddEntry(text); }
    virtual void RemoveItem(const char* text) { edit_.RemoveEntry(text); }
    virtual void ClearItems() { edit_.ClearEntries(); }

    // The whole text of a drop-down item; null when there is no such item.
    std::optional<std::string> ItemText(WPARAM index) const;

    // A line that ran goes first in the drop-down, once, and last in the list.
    // A drop-down of 20 or more loses its last entry: the alias names the fill
    // put at its end make way for run lines one at a time.
    void AddRunLine(const std::string& line);
    // The lines run since start-up, most recent first: what a refill keeps.
    const RunLines& RunHistory() const { return runLines_; }

    const CompletionEdit& Edit() const { return edit_; }

protected:
    // Takes over the edit field too; a missing one leaves the box without completion.
    void OnAttached() override;

private:
    void OnAddString(Message& m);
    void OnDeleteString(Message& m);
    void OnResetContent(Message& m);

    CompletionEdit edit_;
    RunLines runLines_;

    static const MessageEntry<CompletionCombo> kMessages[];
};
