#include "settings/app_settings.h"

#include <algorithm>

#include "settings/settings_merge.h"
#include "settings/settings_xml.h"

namespace {

class AliasCodec final : public RecordCodec<std::vector<AliasEntry>> {
public:
    explicit AliasCodec(const AnsiUtf8Converter& converter) : converter_(converter) {}
    ParseReport Parse(std::string_view bytes, const std::vector<AliasEntry>&,
                      std::vector<AliasEntry>& read) const override {
        AliasReadResult result = ReadAliasesXml(bytes, converter_, read);
        return {result.loaded, result.lossless, result.failedAt.line, result.failedAt.column};
    }
    std::string Print(const std::vector<AliasEntry>& record) const override {
        return WriteAliasesXml(record, converter_);
    }
    std::vector<AliasEntry> Merge(const std::vector<AliasEntry>& base, const std::vector<AliasEntry>& mine,
                                  const std::vector<AliasEntry>& disk) const override {
        return MergeAliases(base, mine, disk);
    }

private:
    const AnsiUtf8Converter& converter_;
};

class OptionsCodec final : public RecordCodec<SettingsOptions> {
public:
    ParseReport Parse(std::string_view bytes, const SettingsOptions& before, SettingsOptions& read) const override {
        read = before;
        ParsePosition failedAt;
        return {ReadSettingsXml(bytes, read, &failedAt), true, failedAt.line, failedAt.column};
    }
    std::string Print(const SettingsOptions& record) const override { return WriteSettingsXml(record); }
    SettingsOptions Merge(const SettingsOptions& base, const SettingsOptions& mine,
                          const SettingsOptions& disk) const override {
        return MergeOptions(base, mine, disk);
    }
};

const OptionsCodec kOptionsCodec;

}  // namespace

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

bool AliasTable::Load(const SettingsDisk& disk, const AnsiUtf8Converter& converter) {
    Clear();
    return file_.Load(disk, AliasCodec(converter), entries_);
}

void AliasTable::Save(SettingsDisk& disk, const AnsiUtf8Converter& converter, SaveKind kind) {
    file_.Save(disk, AliasCodec(converter), entries_, kind);
}

FileCheck AliasTable::Reload(SettingsDisk& disk, const AnsiUtf8Converter& converter) {
    return file_.Reload(disk, AliasCodec(converter), entries_);
}

bool AppSettings::Load(const SettingsDisk& disk, const AnsiUtf8Converter& converter) {
    aliases.Load(disk, converter);
    return file_.Load(disk, kOptionsCodec, *this);
}

void AppSettings::Save(SettingsDisk& disk, const AnsiUtf8Converter& converter, SaveKind kind) {
    aliases.Save(disk, converter, kind);
    file_.Save(disk, kOptionsCodec, *this, kind);
}

SettingsReload AppSettings::Reload(SettingsDisk& disk, const AnsiUtf8Converter& converter) {
    FileCheck aliasCheck = aliases.Reload(disk, converter);
    FileCheck optionCheck = file_.Reload(disk, kOptionsCodec, *this);
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
