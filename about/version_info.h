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

    std::string CompanyName() const { return strings_[kCompanyName]; }
    std::string FileVersion() const { return strings_[kFileVersion]; }
    std::string LegalCopyright() const { return strings_[kLegalCopyright]; }
    std::string ProductName() const { return strings_[kProductName]; }

    const VS_FIXEDFILEINFO& Fixed() const { return fixed_; }
    // Empty when the key was absent.
    const std::string& String(VersionKey key) const { return strings_[key]; }

private:
    VS_FIXEDFILEINFO fixed_;
    std::array<std::string, kVersionKeys.size()> strings_;
};
