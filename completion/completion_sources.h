#pragma once
#include <string>
#include <vector>

#include "completion/completion_combo.h"
#include "text/code_page.h"

class FolderWalk;
class LaunchNameMap;
struct AppSettings;

// Gathers the completion entries and launch names: the aliases, then the
// typed addresses, the Run history and the Start menu, each as the settings allow.
class CompletionSources {
public:
    CompletionSources(CompletionCombo& box, LaunchNameMap& names, const AppSettings& settings, const CodePage& page)
        : box_(box), names_(names), settings_(settings), page_(page) {}

    bool FillCompletion();
    // Fills afresh: the drop-down keeps the given run lines (most recent
    // first) before the alias names, and the list has them after the sources.
    void RefillCompletion(const std::vector<std::string>& runLines);

    bool AddAliasEntries();
    bool AddTypedUrls();
    bool AddRunHistory();
    bool AddStartMenu();
    // Walks the folder and its subfolders, each real folder once.
    void ScanStartMenuFolder(const std::string& folder);
    // The shortcut's target, or empty when it cannot be loaded or is not whole. COM must be initialised.
    static std::string ResolveShortcut(const std::string& shortcut);

private:
    template <class Take>
    bool ReadValues(const char* key, Take take);
    void ScanStartMenuFolder(const std::string& folder, FolderWalk& walk, unsigned depth);

    CompletionCombo& box_;
    LaunchNameMap& names_;
    const AppSettings& settings_;
    const CodePage& page_;
};
