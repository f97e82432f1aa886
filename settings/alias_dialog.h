#pragma once
#include <string>

#include "framework/accessible_name.h"
#include "framework/dialog_object.h"

// Edits one alias: its name and its command line, with a browse button that
// picks a file for the command. OK is refused while either field is empty.
class AliasDialog final : public DialogObject {
public:
    bool ProcessMessage(Message& m) override;

    // 1 (OK) or 2 (Cancel); name and command hold the texts after OK.
    INT_PTR Run(HWND owner);

    std::string name;
    std::string command;

private:
    void OnInitDialog(Message& m);
    void OnOK(Message& m);
    void OnCancel(Message& m);
    void OnBrowse(Message& m);

    // Fields to controls and back; a failed transfer beeps and focuses that control.
    bool PutFields();
    bool GetFields();
    void Refuse(const char* text, int control);

    // Their labels follow them in the template.
    NamedControl nameField_{"Alias"};
    NamedControl commandField_{"Command line"};

    static const MessageEntry<AliasDialog> kMessages[];
};
