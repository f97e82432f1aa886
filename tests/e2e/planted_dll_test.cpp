// DLLs planted beside Brisq.exe, as anyone who can write to its folder could:
// none may run inside it. Brisq lives in such folders (Downloads, a USB stick,
// a shared tools folder), and Windows looks in the program's folder first for
// any DLL that is not a KnownDLL.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "driver.h"
#include "scratch_key.h"

using namespace e2e;

namespace {
const int kAboutButton = 1020, kSettingsButton = 1021;

// The names Brisq asks for on these paths (shell32 when it starts, oleacc and
// oleaut32 for a screen reader, comdlg32 for a file to browse to), and the
// names the system's DLLs ask for on its behalf (shell32's shcore and shlwapi;
// comctl32, which the manifest takes from the side-by-side store). Windows
// protects shell32, comdlg32, oleaut32, shlwapi and shcore as KnownDLLs; this
// Wine does not, so here they show whether Brisq's own loads keep to System32.
const char* const kPlanted[] = {"shell32", "shcore", "shlwapi", "oleacc", "oleaut32", "comctl32", "comdlg32"};

// Left out, because this Wine takes them from the program's folder whatever
// Brisq does, where Windows would not:
// - KnownDLLs of Windows that this Wine maps at process start, before any code
//   of Brisq's runs, as the program's imports or theirs: kernel32, user32,
//   gdi32, advapi32, msvcrt, imm32, sechost, ucrtbase, win32u.
// - version: this Wine's user32 imports it (Windows' does not), so it too
//   loads at process start.
// - uxtheme and msimg32 (delay-loaded by this Wine's comctl32 and uxtheme),
//   ole32 (by its imm32) and with ole32 its imports combase and rpcrt4: this
//   Wine resolves its own DLLs' delay-loaded imports by the process's first
//   search path, ignoring the System32-only default Brisq sets first thing.
//   Windows loads them under the system DLL's own search flags, and ole32,
//   combase and rpcrt4 are KnownDLLs there.

// Makes this Wine search Brisq.exe's folder before its own DLLs for each name,
// as Windows does for a DLL that is not a KnownDLL: read from the registry by
// every Brisq.exe that starts while the override is in place.
class SearchProgramFolderFirst {
public:
    explicit SearchProgramFolderFirst(const std::vector<std::string>& names) {
        for (const std::string& name : names) set_ &= overrides_.Set("native,builtin", name.c_str());
    }
    bool Set() const { return set_; }

private:
    ScratchKey program_{HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\Brisq.exe"};
    ScratchKey overrides_{HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\Brisq.exe\\DllOverrides"};
    bool set_ = true;
};

std::string MarkerDll() { return BinFolder() + "..\\marker\\brisq_marker.dll"; }

// The planted names whose marker wrote its trace.
std::vector<std::string> MarkersThatRan(const Brisq& brisq, const std::vector<std::string>& planted) {
    std::vector<std::string> ran;
    for (const std::string& name : planted)
        if (FileExists(brisq.Folder().File(name + ".dll.ran"))) ran.push_back(name);
    return ran;
}

// What a screen reader does first: Brisq answers with its own object for the window.
bool AskForAccessibleName(HWND window) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&object))) ||
        !object)
        return false;
    object->Release();
    return true;
}

// Opens a dialog from the launcher's button, keeps its picture and closes it again.
bool OpenAndClose(const Brisq& brisq, int button, const char* caption, const char* screenshot) {
    PostMessageA(brisq.Launcher(), WM_COMMAND, button, 0);
    HWND dialog = WaitForDialog(brisq, caption);
    if (!dialog) return false;
    SaveScreenshot(screenshot, dialog);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return WaitUntil([&] { return !IsWindow(dialog); });
}
}  // namespace

TEST(PlantedDlls, NoneRunsInsideBrisq) {
    const std::vector<std::string> planted(std::begin(kPlanted), std::end(kPlanted));
    SearchProgramFolderFirst overrides(planted);
    ASSERT_TRUE(overrides.Set());
    Brisq brisq;
    for (const std::string& name : planted)
        ASSERT_TRUE(CopyFileA(MarkerDll().c_str(), brisq.Folder().File(name + ".dll").c_str(), FALSE)) << name;

    bool started = brisq.Start();
    EXPECT_EQ(MarkersThatRan(brisq, planted), std::vector<std::string>{}) << "at start-up";
    ASSERT_TRUE(started);

    brisq.RunLine("recorder.exe planted");
    ASSERT_TRUE(WaitUntil([&] { return !brisq.RecordedCommandLine().empty(); })) << brisq.Describe();
    EXPECT_TRUE(OpenAndClose(brisq, kAboutButton, "About...", "planted-dlls-about"));
    EXPECT_TRUE(OpenAndClose(brisq, kSettingsButton, "Settings", "planted-dlls-settings"));
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    EXPECT_TRUE(AskForAccessibleName(brisq.Launcher()));
    CoUninitialize();

    EXPECT_EQ(MarkersThatRan(brisq, planted), std::vector<std::string>{});
    EXPECT_FALSE(brisq.HasExited());
}
