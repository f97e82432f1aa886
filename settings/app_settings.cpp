#include "settings/app_settings.h"

#include <algorithm>

#include "settings/settings_merge.h"
#include "settings/settings_xml.h"

class AliasRecord final : public SyncedRecord {
public:
    AliasRecord(AliasTable& table, const AnsiUtf8Converter& converter) : table_(table), converter_(converter) {}
    ParseReport Read(std::string_view bytes) override {
        AliasReadResult result = ReadAliasesXml(bytes, converter_, read_);
        return {result.loaded, result.lossless, result.failedAt.line, result.failedAt.column};
    }
    bool Take() override {
        if (Changed()) {  // Brisq's unsaved changes stay, merged into the file's
            std::vector<AliasEntry> merged = MergeAliases(*table_.saved_, table_.entries_, read_);
            bool changed = !(merged == table_.entries_);
            table_.entries_ = std::move(merged);
            table_.saved_ = std::move(read_);
            return changed;
        }
        bool changed = !(read_ == table_.entries_);
        table_.entries_ = std::move(read_);
        table_.saved_.reset();
        return changed;
    }
    std::string Print() const override { return WriteAliasesXml(table_.entries_, converter_); }
    bool Changed() const override { return table_.saved_ && !(*table_.saved_ == table_.entries_); }
    void InSync() override { table_.saved_.reset(); }

private:
    AliasTable& table_;
    const AnsiUtf8Converter& converter_;
    std::vector<AliasEntry> read_;
};

class OptionsRecord final : public SyncedRecord {
public:
    explicit OptionsRecord(AppSettings& settings) : settings_(settings) {}
    ParseReport Read(std::string_view bytes) override {
        read_ = settings_.saved_;  // what the file leaves out keeps its value
        ParsePosition failedAt;
        return {ReadSettingsXml(bytes, read_, &failedAt), true, failedAt.line, failedAt.column};
    }
    bool Take() override {
        SettingsOptions taken = Changed() ? MergeOptions(settings_.saved_, settings_, read_) : read_;
        bool changed = !(taken == settings_);
        static_cast<SettingsOptions&>(settings_) = taken;
        settings_.saved_ = read_;
        return changed;
    }
    std::string Print() const override { return WriteSettingsXml(settings_); }
    bool Changed() const override { return !(settings_.saved_ == settings_); }
    void InSync() override { settings_.saved_ = settings_; }

private:
    AppSettings& settings_;
    SettingsOptions read_;
};

SettingsEffects EffectsOf(const SettingsOptions& before, const SettingsOptions& after, bool aliasesChanged) {
    return {aliasesChanged || before.run_history != after.run_history || before.typed_urls != after.typed_urls ||
                before.start_menu != after.start_menu,
            before.hot_key_key != after.hot_key_key || before.hot_key_mod != after.hot_key_mod,
            before.icon_in_tray != after.icon_in_tray, before.start_with_windows != after.start_with_windows};
}

AppSettings& AppSettings::Instance() {
    static AppSettings settings;
    return settings;
}

void AliasTable::BeforeChange() {
    if (!saved_) saved_.emplace(entries_);
}

bool AliasTable::Load(const SettingsDisk& disk, const AnsiUtf8Converter& converter) {
    entries_.clear();  // whatever the file holds: the old list is gone
    AliasRecord record(*this, converter);
    return file_.Load(disk, record);
}

void AliasTable::Save(SettingsDisk& disk, const AnsiUtf8Converter& converter, SaveKind kind) {
    AliasRecord record(*this, converter);
    file_.Save(disk, record, kind);
}

FileCheck AliasTable::Reload(SettingsDisk& disk, const AnsiUtf8Converter& converter) {
    AliasRecord record(*this, converter);
    return file_.Reload(disk, record);
}

bool AppSettings::Load(const SettingsDisk& disk, const AnsiUtf8Converter& converter) {
    aliases.Load(disk, converter);
    OptionsRecord record(*this);
    return file_.Load(disk, record);
}

void AppSettings::Save(SettingsDisk& disk, const AnsiUtf8Converter& converter, SaveKind kind) {
    aliases.Save(disk, converter, kind);
    OptionsRecord record(*this);
    file_.Save(disk, record, kind);
}

SettingsReload AppSettings::Reload(SettingsDisk& disk, const AnsiUtf8Converter& converter) {
    FileCheck aliasCheck = aliases.Reload(disk, converter);
    OptionsRecord record(*this);
    FileCheck optionCheck = file_.Reload(disk, record);
    SettingsReload reload;
    reload.aliasesChanged = aliasCheck.changed;
    reload.optionsChanged = optionCheck.changed;
    reload.retryAfterMs = RetryAfterMs();
    reload.notice = aliasCheck.notice;
    if (!reload.notice.empty() && !optionCheck.notice.empty()) reload.notice += "\n\n";
    reload.notice += optionCheck.notice;
    return reload;
}

unsigned AppSettings::RetryAfterMs() const {
    unsigned a = aliases.RetryAfterMs(), o = file_.RetryAfterMs();
    return a && o ? std::min(a, o) : std::max(a, o);
}
