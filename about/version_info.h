#pragma once
// The version resource of an executable: its fixed record and the strings of
// the translation that suits the user best.

#include <windows.h>

#include <array>
#include <string>

#include "about/translation.h"

class VersionInfo {
public:
    VersionInfo() { Reset(); }
    virtual ~VersionInfo() = default;

    virtual void Reset();
    // Module 0 is the program's own executable.
    bool LoadFromModule(HMODULE module);
    bool LoadFromFile(const char* path);

    std::string CompanyName() const { return strings_[0]; }
    std::string FileVersion() const { return strings_[2]; }
    std::string LegalCopyright() const { return strings_[4]; }
    std::string ProductName() const { return strings_[6]; }

    const VS_FIXEDFILEINFO& Fixed() const { return fixed_; }
    // By the index of the key in kVersionKeys; empty when the key was absent.
    const std::string& String(std::size_t key) const { return strings_[key]; }

private:
    VS_FIXEDFILEINFO fixed_;
    std::array<std::string, kVersionKeys.size()> strings_;
};
