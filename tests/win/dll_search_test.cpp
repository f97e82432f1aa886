#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/files.h"
#include "framework/dll_search.h"
#include "framework/module.h"

// Delay-loaded through the libraries tests/win/CMakeLists.txt makes: one from a
// DLL that is no system DLL, two that a system DLL does not have.
extern "C" int WINAPI ProbeAnswer();
extern "C" BOOL WINAPI BrisqAbsentCall(int);
extern "C" HRESULT WINAPI BrisqAbsentQuery(void**);

namespace {
const char kProbe[] = "brisq_probe.dll";

std::string ProgramFolder() {
    std::string program = ModuleFileName();
    return program.substr(0, program.find_last_of('\\') + 1);
}

// The probe DLL copied where a planted DLL lies, removed again at the end.
class PlantedProbe {
public:
    explicit PlantedProbe(const std::string& folder) : path_(folder + kProbe) {
        copied_ = CopyFileA((ProgramFolder() + "..\\probe\\" + kProbe).c_str(), path_.c_str(), FALSE);
    }
    ~PlantedProbe() { DeleteFileA(path_.c_str()); }
    PlantedProbe(const PlantedProbe&) = delete;
    PlantedProbe& operator=(const PlantedProbe&) = delete;
    bool Copied() const { return copied_; }

private:
    std::string path_;
    bool copied_ = false;
};

bool LoadsByName(const char* name) {
    HMODULE module = LoadLibraryA(name);
    if (module) FreeLibrary(module);
    return module != nullptr;
}
}  // namespace

// Runs before the start routine's test, while the process's search still
// includes the program's folder, as every search does by default.
TEST(DllSearch, SystemAndDelayLoadedDllsNeverComeFromBesideTheProgram) {
    PlantedProbe planted(ProgramFolder());
    ASSERT_TRUE(planted.Copied());
    ASSERT_TRUE(LoadsByName(kProbe));  // the test can tell
    EXPECT_EQ(LoadSystemLibrary(L"brisq_probe.dll"), nullptr);
    HMODULE oleacc = LoadSystemLibrary(L"oleacc.dll");
    ASSERT_NE(oleacc, nullptr);
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(lstrcmpiA(ModuleFileName(oleacc).c_str(), (std::string(system) + "\\oleacc.dll").c_str()), 0);
    FreeLibrary(oleacc);

    // A delay-loaded function that cannot be reached fails as it would report a
    // failure of its own, and the program goes on.
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

// Beside the program, and in the current directory, where a browse for a file leaves it.
TEST(DllSearch, AfterTheStartRoutineOnlySystemDllsLoadByName) {
    testkit::TempFolder current;
    char previous[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(current.Path().c_str()));
    const std::string folders[] = {ProgramFolder(), current.Path()};
    for (const std::string& folder : folders) {  // the test can tell: until then the name is found there
        PlantedProbe planted(folder);
        EXPECT_TRUE(planted.Copied() && LoadsByName(kProbe)) << folder;
    }
    RestrictDllSearchToSystem();
    for (const std::string& folder : folders) {
        PlantedProbe planted(folder);
        EXPECT_TRUE(planted.Copied()) << folder;
        EXPECT_FALSE(LoadsByName(kProbe)) << folder;
        EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND)) << folder;
    }
    EXPECT_TRUE(LoadsByName("version.dll"));
    SetCurrentDirectoryA(previous);
}
