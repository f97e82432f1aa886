#pragma once
// A registry key made for a test, removed with everything below it.
#include <windows.h>

#include <string>
#include <utility>

class ScratchKey {
public:
    ScratchKey(HKEY root, std::string path) : root_(root), path_(std::move(path)) {
        made_ = RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key_, nullptr) ==
                ERROR_SUCCESS;
    }
    ~ScratchKey() {
        if (!made_) return;
        RegCloseKey(key_);
        RegDeleteTreeA(root_, path_.c_str());
    }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    // A string value; without a name, the key's default one.
    bool Set(const std::string& value, const char* name = nullptr) {
        return made_ && RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                       DWORD(value.size() + 1)) == ERROR_SUCCESS;
    }

private:
    HKEY root_;
    std::string path_;
    HKEY key_ = nullptr;
    bool made_ = false;
};
