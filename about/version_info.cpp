#include "about/version_info.h"

#include <cstring>
#include <new>
#include <vector>

#include "framework/module.h"

void VersionInfo::Reset() {
    std::memset(&fixed_, 0, sizeof(fixed_));
    for (std::string& text : strings_) text.clear();
}

// The path as long as it is: a path cut at 260 bytes could name another file.
bool VersionInfo::LoadFromModule(HMODULE module) {
    std::string path = ModuleFileName(module);
    if (path.empty()) {
        Reset();
        return false;
    }
    return LoadFromFile(path.c_str());
}

bool VersionInfo::LoadFromFile(const char* path) {
    Reset();
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return false;
    std::vector<char> block;
    try {
        block.resize(size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!GetFileVersionInfoA(path, 0, size, block.data())) return false;

    void* found = nullptr;
    UINT length = 0;
    if (VerQueryValueA(block.data(), "\\", &found, &length) && found && length == sizeof(fixed_))
        std::memcpy(&fixed_, found, sizeof(fixed_));

    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &found, &length) || !found) return true;
    std::optional<Translation> chosen =
        ChooseTranslation(ParseTranslationTable(std::string_view(static_cast<const char*>(found), length)),
                          GetUserDefaultLangID());
    if (!chosen) return true;
    std::string prefix = StringFileInfoPrefix(*chosen);
    const char* blockEnd = block.data() + block.size();
    for (std::size_t key = 0; key < kVersionKeys.size(); ++key) {
        char* value = nullptr;
        if (!VerQueryValueA(block.data(), (prefix + kVersionKeys[key]).c_str(), reinterpret_cast<void**>(&value),
                            &length) ||
            !value)
            continue;
        // Never read past the block, whatever the resource claims.
        std::size_t limit = value >= block.data() && value < blockEnd ? std::size_t(blockEnd - value) : length;
        strings_[key].assign(value, strnlen(value, limit));
    }
    return true;
}
