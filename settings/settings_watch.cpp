#include "settings/settings_watch.h"

#include "settings/settings_files.h"

void SettingsWatch::Start(HWND window) {
    window_ = window;
    folder_.Start(PathBesideExecutable(""));
}

void SettingsWatch::OnChanged() {
    folder_.Rearm();
    ReadAfter(kQuietMs);
}

void SettingsWatch::Stop() {
    folder_.Stop();
    if (armed_) KillTimer(window_, kTimerId);
    armed_ = false;
}

void SettingsWatch::ReadAfter(unsigned ms) {
    if (ms == 0 || !window_) return;
    ULONGLONG due = GetTickCount64() + ms;
    if (armed_ && due >= due_) return;
    if (!SetTimer(window_, kTimerId, ms, nullptr)) return;
    armed_ = true;
    due_ = due;
}

SettingsWatch::Outcome SettingsWatch::Read() {
    KillTimer(window_, kTimerId);  // the timer repeats; each read arms it anew
    armed_ = false;
    AppSettings& settings = AppSettings::Instance();
    const SettingsOptions before = settings;
    SettingsReload reload = settings.Reload();
    ReadAfter(reload.retryAfterMs);
    return {EffectsOf(before, settings, reload.aliasesChanged), std::move(reload.notice)};
}

void SettingsWatch::Hold() {
    KillTimer(window_, kTimerId);
    armed_ = false;
    held_ = true;
}

void SettingsWatch::Resume() {
    if (held_) ReadAfter(kQuietMs);
    held_ = false;
}
