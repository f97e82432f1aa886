#pragma once
#include <optional>
#include <string>

#include "app/tray_icon.h"
#include "completion/completion_combo.h"
#include "controls/glyph_button.h"
#include "controls/skin_painter.h"
#include "framework/dialog_object.h"
#include "framework/owners.h"
#include "settings/settings_watch.h"

// The launcher popup: the command box and its caption buttons. A modal dialog
// that lives as long as the process, hidden most of the time.
class LauncherWindow final : public DialogObject {
public:
    bool ProcessMessage(Message& m) override;

    void ShowLauncher();
    void ToggleLauncher();
    void HideOnDeactivate(bool active);
    // Runs the command box's line; once it ran, the drop-down has it first and the window hides.
    void RunTypedLine();
    void ConfirmExit(int id);
    // Runs the Settings dialog and, after OK, saves and re-applies every setting.
    void ShowSettings();
    void ShowAbout();
    // Rebuilds the completion entries and launch names after the settings changed.
    void RefillCompletion();

    // The start-up after the launcher has shown (app/launcher_startup.cpp, with
    // the dialog's initialisation before it): settings and aliases, hot key,
    // completion, tray icon, Run value. Once; later calls do nothing.
    void FinishStartup();
    // True once FinishStartup has begun. It loads the settings before anything
    // that could run a nested loop; before, they must not be saved.
    bool StartupBegun() const { return startupBegun_; }
    // Sizes the window, its region and skin, the controls, their fonts and
    // pictures for a DPI (the monitor's, or the one the system moved it to).
    void ApplyDpi(int dpi);
    int Dpi() const { return dpi_; }

    // A hot key that is taken brings the question and then the Settings
    // dialog, again until the user picks one that is free.
    void RegisterHotKeyOrAskForAnother();
    void UnregisterLaunchHotKey();
    void ApplyStartWithWindows();
    // Carries out the settings that act on the system: completion, hot key,
    // tray icon, Run value.
    void ApplySettings(const SettingsEffects& changed);

private:
    // Posted by the dialog's initialisation to itself: the start-up that waits until the launcher shows.
    static constexpr UINT kFinishStartupMessage = WM_APP + 1;

    // The settings files' folder changed: the loop that runs the launcher waits for it.
    HANDLE SignalToWaitFor() const override;
    void OnSignalled() override;

    void OnInitDialog(Message& m);
    void OnFinishStartup(Message& m);
    void OnToggle(Message& m);
    void OnActivateApp(Message& m);
    void OnRunTypedLine(Message& m);
    void OnHide(Message& m);
    void OnSelectEntry(Message& m);
    void OnConfirmExit(Message& m);
    void OnShowSettings(Message& m);
    void OnShowAbout(Message& m);
    void OnShow(Message& m);
    void OnDestroy(Message& m);
    void OnGetObject(Message& m);
    void OnSettingChange(Message& m);
    void OnTrayLeftButton(Message& m);
    void OnTaskbarCreated(Message& m);
    void OnTrayRightButton(Message& m);
    void OnDpiChanged(Message& m);
    void OnSettingsTimer(Message& m);
    void ShowNotice();
    bool RegisterLaunchHotKey();
    void LayOutControls(const struct LauncherLayout& layout);
    void SetCommandFont(int dpi);

    static UINT TrayCallbackOf(const LauncherWindow& self) { return self.tray_.CallbackMessage(); }
    static UINT TaskbarCreatedOf(const LauncherWindow& self) { return self.tray_.TaskbarCreatedMessage(); }
    bool IsTrayClick(const Message& m, UINT button) const;

    HWND CommandBox() const;
    std::string ReadLine() const;

    SkinPainter skin_{RGB(0xFF, 0x00, 0xFF)};
    TrayIcon tray_;
    CompletionCombo commandBox_;
    GlyphButton settingsButton_;
    GlyphButton closeButton_;
    GlyphButton aboutButton_;
    SettingsWatch settingsWatch_;
    std::string notice_;  // a file's problem the user has not seen yet
    bool hotKeyRegistered_ = false;
    bool askingForHotKey_ = false;  // the failure question is on screen or in its Settings dialog
    bool settingsOpen_ = false;
    bool startupBegun_ = false;
    std::optional<ComApartment> com_;  // from the start-up after the show; shell links need it
    int dpi_ = 96;
    int templateDpi_ = 96;  // the DPI the dialog's own font was made for
    Font commandFont_;       // the command box's font at any other DPI

    static const MessageEntry<LauncherWindow> kMessages[];
};
