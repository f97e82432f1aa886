#include "settings/settings_files.h"

#include <windows.h>

#include <exception>
#include <type_traits>

#include "framework/files.h"
#include "framework/module.h"
#include "framework/owners.h"
#include "settings/app_settings.h"
#include "settings/paths.h"
#include "settings/settings_xml.h"
#include "text/system_code_page.h"
#include "text/system_conversion.h"

namespace {

// Far beyond any real settings file; a bigger one is kept aside, not read.
constexpr std::size_t kMaxFileSize = std::size_t(64) << 20;

// The two files in the executable's folder.
class BesideExecutable final : public SettingsDisk {
public:
    FileRead Read(const char* name, std::string& bytes) const override {
        try {
            return ReadWholeFile(PathOf(name), kMaxFileSize, bytes);
        } catch (const std::exception&) {  // out of memory: as good as locked, never replaced
            bytes.clear();
            return FileRead::kUnreadable;
        }
    }
    bool IsReadOnly(const char* name) const override {
        DWORD attributes = GetFileAttributesA(PathOf(name).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    }
    bool SetAside(const char* name) override { return SetFileAside(PathOf(name)); }
    bool Replace(const char* name, std::string_view bytes) override {
        return SaveFileAtomically(PathOf(name), bytes);
    }
    std::string PathOf(const char* name) const override { return PathBesideExecutable(name); }
};

// Nothing may unwind into a window procedure; what ran out of memory on the way
// stays unsaved, and the files as they were.
template <class Action, class Result = std::invoke_result_t<Action>>
Result Guarded(Action action) {
    try {
        return action();
    } catch (const std::exception&) {
        return Result();
    }
}

}  // namespace

std::string PathBesideExecutable(const std::string& fileName) {
    return PathInFolderOf(ModuleFileName(nullptr), fileName, SystemCodePage());
}

bool SaveFileAtomically(const std::string& path, std::string_view bytes) {
    std::string temp = path + ".tmp";
    KernelHandle file(
        ValidOrNull(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!file) return false;
    DWORD done = 0;
    bool ok = bytes.empty() ||
              (WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &done, nullptr) && done == bytes.size());
    ok = FlushFileBuffers(file.get()) && ok;
    ok = CloseHandle(file.Release()) && ok;  // a failed close can mean unwritten data
    if (ok && MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileA(temp.c_str());
    return false;
}

bool SetFileAside(const std::string& path) {
    for (int n = 1; n <= 1000; ++n) {
        std::string aside = path + ".bad";
        if (n > 1) aside += std::to_string(n);
        if (MoveFileExA(path.c_str(), aside.c_str(), MOVEFILE_WRITE_THROUGH)) return true;
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) return true;
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return false;
    }
    return false;
}

bool AliasTable::LoadFromFile() {
    BesideExecutable disk;
    return Guarded([&] { return Load(disk, SystemAnsiUtf8Converter()); });
}

bool AliasTable::SaveToFile() {
    BesideExecutable disk;
    Guarded([&] { Save(disk, SystemAnsiUtf8Converter(), SaveKind::kUnsaved); });
    return true;
}

bool AppSettings::Load() {
    BesideExecutable disk;
    return Guarded([&] { return Load(disk, SystemAnsiUtf8Converter()); });
}

bool AppSettings::Save(SaveKind kind) {
    BesideExecutable disk;
    Guarded([&] { Save(disk, SystemAnsiUtf8Converter(), kind); });
    return true;
}

SettingsReload AppSettings::Reload() {
    BesideExecutable disk;
    return Guarded([&] { return Reload(disk, SystemAnsiUtf8Converter()); });
}
