#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "framework/dll_search.h"
#include "framework/module.h"

// Delay-loaded through the libraries tests/win/CMakeLists.txt makes: one from a
// DLL that is no system DLL, two that a system DLL does not have.
extern "C" int WINAPI ProbeAnswer();
extern "C" BOOL WINAPI BrisqAbsentCall(int);
extern "C" HRESULT WINAPI BrisqAbsentQuery(void**);

namespace {
const char kProbe[] = "brisq_probe.dll";

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\') + 1); }

// The probe DLL copied where a planted DLL lies, removed again at the end.
class PlantedProbe {
public:
    explicit PlantedProbe(const std::string& folder) : path_(folder + kProbe) {
        copied_ = CopyFileA((FolderOf(ModuleFileName()) + "..\\probe\\" + kProbe).c_str(), path_.c_str(), FALSE);
    }
    ~PlantedProbe() { DeleteFileA(path_.c_str()); }
    PlantedProbe(const PlantedProbe&) = delete;
    PlantedProbe& operator=(const PlantedProbe&) = delete;
    bool Copied() const { return copied_; }

private:
    std::string path_;
    bool copied_ = false;
};

// A folder of its own, made the current directory while the object lives.
class CurrentDirectory {
public:
    CurrentDirectory() {
        char temp[MAX_PATH] = "", folder[MAX_PATH] = "";
        GetCurrentDirectoryA(MAX_PATH, previous_);
        if (!GetTempPathA(MAX_PATH, temp) || !GetTempFileNameA(temp, "dll", 0, folder)) return;
        DeleteFileA(folder);
        if (CreateDirectoryA(folder, nullptr) && SetCurrentDirectoryA(folder)) path_ = std::string(folder) + "\\";
    }
    ~CurrentDirectory() {
        SetCurrentDirectoryA(previous_);
        if (!path_.empty()) RemoveDirectoryA(path_.c_str());
    }
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;
    const std::string& Path() const { return path_; }

private:
    char previous_[MAX_PATH] = "";
    std::string path_;
};

bool LoadsByName(const char* name) {
    HMODULE module = LoadLibraryA(name);
    if (module) FreeLibrary(module);
    return module != nullptr;
}

std::string SystemFolder() {
    char folder[MAX_PATH] = "";
    UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder, length) + "\\";
}
}  // namespace

// These two run before the start routine's test: the process's search still
// includes the program's folder, as every search does by default.
TEST(DllSearch, ASystemLibraryComesFromTheSystemFolder) {
    PlantedProbe planted(FolderOf(ModuleFileName()));
    ASSERT_TRUE(planted.Copied());
    ASSERT_TRUE(LoadsByName(kProbe));
    EXPECT_EQ(LoadSystemLibrary(L"brisq_probe.dll"), nullptr);

    HMODULE oleacc = LoadSystemLibrary(L"oleacc.dll");
    ASSERT_NE(oleacc, nullptr);
    EXPECT_EQ(lstrcmpiA(ModuleFileName(oleacc).c_str(), (SystemFolder() + "oleacc.dll").c_str()), 0)
        << ModuleFileName(oleacc);
    FreeLibrary(oleacc);
}

// Each call fails as the function would report a failure of its own, and the
// program goes on; the planted DLL stays unloaded.
TEST(DllSearch, ADelayLoadedFunctionThatCannotBeReachedFailsInsteadOfEndingTheProgram) {
    PlantedProbe planted(FolderOf(ModuleFileName()));
    ASSERT_TRUE(planted.Copied());
    ASSERT_TRUE(LoadsByName(kProbe));
    for (int call = 0; call < 2; ++call) {  // the first call resolves, the second goes straight to the stand-in
        SetLastError(0);
        EXPECT_EQ(ProbeAnswer(), 0);
        EXPECT_EQ(GetLastError(), DWORD(ERROR_PROC_NOT_FOUND));
        EXPECT_EQ(GetModuleHandleA(kProbe), nullptr);
        EXPECT_FALSE(BrisqAbsentCall(1));
        void* object = nullptr;
        EXPECT_EQ(BrisqAbsentQuery(&object), HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND));
    }
}

// Beside the program and in the current directory: the two places a planted
// DLL lies, both searched by default (here as on Windows).
TEST(DllSearch, AfterTheStartRoutineOnlySystemDllsLoadByName) {
    CurrentDirectory current;
    ASSERT_FALSE(current.Path().empty());
    for (const std::string& folder : {FolderOf(ModuleFileName()), current.Path()}) {
        PlantedProbe planted(folder);
        ASSERT_TRUE(planted.Copied()) << folder;
        // The test can tell: until then the name is found there.
        EXPECT_TRUE(LoadsByName(kProbe)) << folder;
    }

    RestrictDllSearchToSystem();
    for (const std::string& folder : {FolderOf(ModuleFileName()), current.Path()}) {
        PlantedProbe planted(folder);
        ASSERT_TRUE(planted.Copied()) << folder;
        EXPECT_FALSE(LoadsByName(kProbe)) << folder;
        EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND)) << folder;
    }
    EXPECT_TRUE(LoadsByName("version.dll"));
}
