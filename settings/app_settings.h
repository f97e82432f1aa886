#pragma once
#include <cstdint>
#include <string>

#include "settings/alias_table.h"

// The options of settings.xml. Their initial values are the defaults.
struct SettingsOptions {
    std::int32_t start_with_windows = 1;
    std::int32_t icon_in_tray = 0;
    std::int32_t run_history = 1;
    std::int32_t typed_urls = 1;
    std::int32_t start_menu = 1;
    std::uint16_t hot_key_key = 82;  // R
    std::uint16_t hot_key_mod = 2;   // Control
    bool operator==(const SettingsOptions&) const = default;
};

// What reading both files again did.
struct SettingsReload {
    bool aliasesChanged = false;
    bool optionsChanged = false;
    unsigned retryAfterMs = 0;  // the sooner of the files' wishes; 0: none
    std::string notice;         // for the user: what stays wrong with a file
};

// The settings that act beyond the record and changed from one record to the next.
struct SettingsEffects {
    bool completion = false;  // the aliases or a completion source
    bool hotKey = false;
    bool tray = false;
    bool autostart = false;
    static SettingsEffects All() { return {true, true, true, true}; }
};
SettingsEffects EffectsOf(const SettingsOptions& before, const SettingsOptions& after, bool aliasesChanged);

// The one settings record.
struct AppSettings : SettingsOptions {
    AliasTable aliases;

    static AppSettings& Instance();

    // aliases.xml, then settings.xml, beside the executable. Load returns true when
    // settings.xml parsed and had a root; a failed load leaves the fields as they were.
    // Save writes what changed since (see FileSync) and returns true.
    bool Load();
    bool Save(SaveKind kind = SaveKind::kUnsaved);
    SettingsReload Reload();

    // The same on any disk.
    bool Load(const SettingsDisk& disk, const AnsiUtf8Converter& converter);
    void Save(SettingsDisk& disk, const AnsiUtf8Converter& converter, SaveKind kind);
    SettingsReload Reload(SettingsDisk& disk, const AnsiUtf8Converter& converter);
    unsigned RetryAfterMs() const;

private:
    friend class OptionsRecord;
    SettingsOptions saved_;  // what settings.xml held when last read or written whole
    FileSync file_{"settings.xml"};
};
