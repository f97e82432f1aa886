#pragma once
#include <string>

#include "completion/completion_combo.h"
#include "completion/source_rules.h"
#include "framework/dialog_object.h"
#include "text/system_code_page.h"

// The launcher popup: the command box and its caption buttons. A modal dialog
// that lives as long as the process, hidden most of the time.
class LauncherWindow final : public DialogObject {
public:
    bool ProcessMessage(Message& m) override;

    void ShowLauncher();
    void ToggleLauncher();
    void HideOnDeactivate(bool active);
    void RunTypedLine(int id);
    void ConfirmExit(int id);
    // Rebuilds the completion entries and launch names after the settings changed.
    void RefillCompletion();

private:
    void OnInitDialog(Message& m);
    void OnToggle(Message& m);
    void OnActivateApp(Message& m);
    void OnRunTypedLine(Message& m);
    void OnHide(Message& m);
    void OnSelectEntry(Message& m);
    void OnConfirmExit(Message& m);
    void OnShow(Message& m);

    void FillCompletion();
    HWND CommandBox() const;
    std::string ReadLine() const;

    CompletionCombo commandBox_;
    RunLines runLines_{SystemCodePage()};  // what a refill keeps

    static const MessageEntry<LauncherWindow> kMessages[];
};
