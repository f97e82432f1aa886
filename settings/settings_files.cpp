#include "settings/settings_files.h"

#include <windows.h>

#include <exception>

#include "framework/files.h"
#include "framework/module.h"
#include "framework/owners.h"
#include "settings/app_settings.h"
#include "settings/paths.h"
#include "settings/settings_xml.h"
#include "text/system_code_page.h"

namespace {

// Far beyond any real settings file; a bigger one is kept aside, not read.
constexpr std::size_t kMaxFileSize = std::size_t(64) << 20;

// MultiByteToWideChar and WideCharToMultiByte.
class SystemConversions final : public WideConversions {
public:
    bool ToWide(unsigned page, std::string_view text, std::wstring& wide) const override {
        wide.clear();
        if (text.empty()) return true;
        int length = MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, text.data(), int(text.size()), nullptr, 0);
        if (length <= 0) return false;
        wide.resize(length);
        return MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, text.data(), int(text.size()), wide.data(), length) ==
               length;
    }
    bool FromWide(unsigned page, std::wstring_view wide, std::string& text, bool* unmapped) const override {
        text.clear();
        if (wide.empty()) return true;
        DWORD flags = unmapped ? WC_NO_BEST_FIT_CHARS : 0;
        BOOL usedDefault = FALSE;
        BOOL* report = unmapped ? &usedDefault : nullptr;
        int length = WideCharToMultiByte(page, flags, wide.data(), int(wide.size()), nullptr, 0, nullptr, report);
        if (length <= 0) return false;
        text.resize(length);
        bool done = WideCharToMultiByte(page, flags, wide.data(), int(wide.size()), text.data(), length, nullptr,
                                        report) == length;
        if (!done) text.clear();
        if (unmapped) *unmapped = usedDefault != FALSE;
        return done;
    }
};

// Reads |fileName| beside the executable. |parse| returns whether the bytes loaded
// and whether they did so without loss; if not, the file is kept for the next save.
template <class Parse>
bool LoadBeside(const char* fileName, bool& keepOldFile, Parse parse) {
    keepOldFile = false;
    try {
        std::string bytes;
        FileRead read = ReadWholeFile(PathBesideExecutable(fileName), kMaxFileSize, bytes);
        if (read == FileRead::kMissing) return false;
        if (read == FileRead::kUnreadable) {
            keepOldFile = true;
            return false;
        }
        auto [loaded, lossless] = parse(bytes);
        keepOldFile = !bytes.empty() && (!loaded || !lossless);  // an empty file holds nothing to keep
        return loaded;
    } catch (const std::exception&) {  // out of memory: kept, never replaced by less than it held
        keepOldFile = true;
        return false;
    }
}

// Writes what |print| gives. A file the user made read-only is neither replaced nor
// set aside, and one that runs out of memory on the way stays as it was.
template <class Print>
void SaveBeside(const char* fileName, bool& keepOldFile, Print print) {
    try {
        std::string text = print();
        std::string path = PathBesideExecutable(fileName);
        DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return;
        if (keepOldFile) {
            if (!SetFileAside(path)) return;  // never replace what could not be kept
            keepOldFile = false;
        }
        SaveFileAtomically(path, text);  // failures stay silent
    } catch (const std::exception&) {
    }
}

}  // namespace

std::string PathBesideExecutable(const std::string& fileName) {
    return PathInFolderOf(ModuleFileName(nullptr), fileName, SystemCodePage());
}

const AnsiUtf8Converter& SystemAnsiUtf8Converter() {
    static const SystemConversions conversions;
    static const CodePageConverter converter(GetACP(), conversions);
    return converter;
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
    Clear();
    return LoadBeside("aliases.xml", keepOldFile_, [this](const std::string& bytes) {
        AliasReadResult result = ReadAliasesXml(bytes, SystemAnsiUtf8Converter(), *this);
        return std::pair(result.loaded, result.lossless);
    });
}

bool AliasTable::SaveToFile() {
    SaveBeside("aliases.xml", keepOldFile_, [this] { return WriteAliasesXml(*this, SystemAnsiUtf8Converter()); });
    return true;
}

bool AppSettings::Load() {
    aliases.LoadFromFile();
    return LoadBeside("settings.xml", keepOldFile_, [this](const std::string& bytes) {
        return std::pair(ReadSettingsXml(bytes, *this), true);
    });
}

bool AppSettings::Save() {
    aliases.SaveToFile();
    SaveBeside("settings.xml", keepOldFile_, [this] { return WriteSettingsXml(*this); });
    return true;
}
