// Brings Brisq into the two states the README pictures, for scripts/screenshots:
//   screenshot_steps ALIASES PREFIX
// starts a Brisq.exe in a fresh folder with the aliases.xml given (a Windows
// path), types PREFIX until the field completes it, then opens Settings. Each
// time it saves the desktop to %BRISQ_ARTIFACTS%\<name>.bmp and prints
// "<name> WxH+X+Y", the window's place on it. Exit code 0 when both were taken.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "driver.h"

namespace {
const int kSettingsButton = 1021;
const int kAliasList = 1013;

bool Fail(const char* why) {
    std::fprintf(stderr, "screenshot_steps: %s\n", why);
    return false;
}

// Once the window and its children have painted.
void Take(const char* name, HWND window) {
    e2e::SaveScreenshot(name, window);
    RECT place{};
    GetWindowRect(window, &place);
    std::printf("%s %ldx%ld+%ld+%ld\n", name, place.right - place.left, place.bottom - place.top, place.left,
                place.top);
    std::fflush(stdout);
}

// The field holds more than was typed, and the part not typed is selected.
bool Completed(const e2e::Brisq& brisq, const std::string& prefix) {
    std::string text = brisq.FieldText();
    DWORD start = 0, end = 0;
    testkit::Ask(brisq.CommandEdit(), EM_GETSEL, WPARAM(&start), LPARAM(&end));
    return text.size() > prefix.size() && start == prefix.size() && end == text.size();
}

bool TakeBoth(const std::string& aliases, const std::string& prefix) {
    e2e::Brisq brisq;
    std::string demo = e2e::ReadFile(aliases);
    if (demo.empty()) return Fail("the aliases file is empty or missing");
    e2e::WriteFile(brisq.Folder().File("aliases.xml"), demo);
    if (!brisq.Start()) return Fail("Brisq did not start");

    e2e::TypeText(prefix);
    if (!e2e::WaitUntil([&] { return Completed(brisq, prefix); })) return Fail("the prefix did not complete");
    Take("launcher", brisq.Launcher());

    PostMessageA(brisq.Launcher(), WM_COMMAND, kSettingsButton, 0);
    HWND settings = e2e::WaitForDialog(brisq, "Settings");
    if (!settings) return Fail("the Settings dialog did not open");
    HWND list = GetDlgItem(settings, kAliasList);
    if (!e2e::WaitUntil([&] { return testkit::Ask(list, LVM_GETITEMCOUNT, 0, 0) > 0; }))
        return Fail("the Settings dialog lists no alias");
    Take("settings", settings);
    return true;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: screenshot_steps ALIASES PREFIX\n");
        return 2;
    }
    return TakeBoth(argv[1], argv[2]) ? 0 : 1;
}
