#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/dll_search.h"
#include "framework/module.h"

namespace {
std::string ProbeDll() {
    std::string exe = ModuleFileName();
    return exe.substr(0, exe.find_last_of('\\') + 1) + "..\\probe\\brisq_probe.dll";
}
}  // namespace

// After a browse the current directory is a folder the user picked a file in;
// a DLL placed there must never load into Brisq.
TEST(DllSearch, TheCurrentDirectoryIsNoLongerSearched) {
    char temp[MAX_PATH] = "", folder[MAX_PATH] = "", previous[MAX_PATH] = "";
    ASSERT_TRUE(GetTempPathA(MAX_PATH, temp));
    ASSERT_TRUE(GetTempFileNameA(temp, "dll", 0, folder));
    DeleteFileA(folder);
    ASSERT_TRUE(CreateDirectoryA(folder, nullptr));
    std::string planted = std::string(folder) + "\\brisq_probe.dll";
    ASSERT_TRUE(CopyFileA(ProbeDll().c_str(), planted.c_str(), FALSE)) << ProbeDll();
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder));

    // The test can tell: before, the name is found in the current directory.
    HMODULE before = LoadLibraryA("brisq_probe.dll");
    EXPECT_NE(before, nullptr);
    if (before) FreeLibrary(before);

    RemoveCurrentDirectoryFromDllSearch();
    HMODULE after = LoadLibraryA("brisq_probe.dll");
    DWORD error = GetLastError();
    EXPECT_EQ(after, nullptr);
    EXPECT_EQ(error, DWORD(ERROR_MOD_NOT_FOUND));
    if (after) FreeLibrary(after);
    // The system's own DLLs still load by name.
    HMODULE system = LoadLibraryA("version.dll");
    EXPECT_NE(system, nullptr);
    if (system) FreeLibrary(system);

    SetCurrentDirectoryA(previous);
    DeleteFileA(planted.c_str());
    RemoveDirectoryA(folder);
}
