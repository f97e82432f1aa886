#pragma once
#include <windows.h>

#include <string>

#include "framework/folder_watch.h"
#include "settings/app_settings.h"

// Reads the settings files again when something changes them on disk. The
// message loop waits for ChangeSignal and calls OnChanged; the reads come as
// the timer kTimerId of the window given, a quiet moment later (a save
// arrives as several changes) and at the retries a missing, locked or broken
// file asks for.
class SettingsWatch {
public:
    static constexpr UINT_PTR kTimerId = 0x5E77;

    // Watches from now on; a load that follows misses no change.
    void Start(HWND window);
    void Stop();
    // Reads in |ms| (or sooner, if already due sooner); 0 does nothing.
    void ReadAfter(unsigned ms);
    // The change notification on the files' folder; null when it cannot be had.
    HANDLE ChangeSignal() const { return folder_.Signal(); }
    // That notification came.
    void OnChanged();

    struct Outcome {
        SettingsEffects effects;
        std::string notice;  // what stays wrong with a file, in plain words
    };
    // At the timer: both files, and the next read they ask for.
    Outcome Read();
    // At the timer while the record must not change: read once Resume is called.
    void Hold();
    void Resume();

private:
    static constexpr unsigned kQuietMs = 100;

    FolderWatch folder_;
    HWND window_ = nullptr;
    bool armed_ = false;
    ULONGLONG due_ = 0;
    bool held_ = false;
};
