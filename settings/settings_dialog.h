#pragma once
#include <string>
#include <vector>

#include "command/program_search.h"
#include "command/system_probe.h"
#include "controls/icon_button.h"
#include "framework/dialog_object.h"
#include "settings/icon_rules.h"

struct AppSettings;

// Edits the options, the hot key and the aliases. The alias list is a working
// copy: only OK writes it, and everything else, back into the settings.
class SettingsDialog final : public DialogObject {
public:
    explicit SettingsDialog(AppSettings& settings);

    bool ProcessMessage(Message& m) override;

    // 1 (OK) or 2 (Cancel, Escape, close box).
    INT_PTR Run(HWND owner);

private:
    void OnInitDialog(Message& m);
    void OnOK(Message& m);
    void OnCancel(Message& m);
    void OnAddAlias(Message& m);
    void OnDeleteAlias(Message& m);
    void OnEditAlias(Message& m);
    void OnRowDisplay(Message& m);

    void FillAliasList();
    void StoreAliasList();
    void SetRow(int row, const std::string& name, const std::string& command);
    void AppendRow(const std::string& name, const std::string& command);
    int SelectedRow() const;

    // The rows the list shows, in order: the working copy of the aliases.
    struct Row {
        std::string name;
        std::string command;
        int icon;  // the list's image index, or not asked yet
    };

    AppSettings& settings_;
    std::vector<Row> rows_;
    SystemProbe probe_;
    ProgramSearch search_;
    AliasIcons icons_;
    HWND list_ = nullptr;
    HWND hotKey_ = nullptr;
    IconButton addButton_;
    IconButton deleteButton_;
    IconButton editButton_;

    static const MessageEntry<SettingsDialog> kMessages[];
};
