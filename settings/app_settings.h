#pragma once
#include <cstdint>

#include "settings/alias_table.h"

// The one settings record. Its initial values are the defaults.
struct AppSettings {
    std::int32_t start_with_windows = 1;
    std::int32_t icon_in_tray = 0;
    std::int32_t run_history = 1;
    std::int32_t typed_urls = 1;
    std::int32_t start_menu = 1;
    std::uint16_t hot_key_key = 82;  // R
    std::uint16_t hot_key_mod = 2;   // Control
    AliasTable aliases;

    static AppSettings& Instance();

    // aliases.xml, then settings.xml, beside the executable. Load returns true when
    // settings.xml parsed and had a root; a failed load leaves the fields as they were.
    bool Load();
    bool Save();

private:
    bool keepOldFile_ = false;  // as in AliasTable, for settings.xml
};
