#pragma once
// Scratch string values under a key of HKCU, removed again afterwards; a
// value that was there before is put back, and a key made for them goes.

#include <windows.h>

#include <string>
#include <vector>

class ScratchValues {
public:
    explicit ScratchValues(const char* path) : path_(path) {
        DWORD disposition = 0;
        RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, &disposition);
        created_ = disposition == REG_CREATED_NEW_KEY;
    }
    ~ScratchValues() {
        for (auto value = values_.rbegin(); value != values_.rend(); ++value) {
            if (value->existed)
                RegSetValueExA(key_, value->name.c_str(), 0, value->type,
                               reinterpret_cast<const BYTE*>(value->data.data()), DWORD(value->data.size()));
            else
                RegDeleteValueA(key_, value->name.c_str());
        }
        RegCloseKey(key_);
        if (created_) RegDeleteKeyA(HKEY_CURRENT_USER, path_);
    }
    ScratchValues(const ScratchValues&) = delete;
    ScratchValues& operator=(const ScratchValues&) = delete;

    void Set(const std::string& name, const std::string& data, DWORD type = REG_SZ) {
        Saved saved;
        saved.name = name;
        char old[1024];
        DWORD size = sizeof(old);
        saved.existed = RegQueryValueExA(key_, name.c_str(), nullptr, &saved.type, reinterpret_cast<BYTE*>(old),
                                         &size) == ERROR_SUCCESS;
        if (saved.existed) saved.data.assign(old, size);
        values_.push_back(saved);
        RegSetValueExA(key_, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                       DWORD(data.size() + 1));
    }

private:
    struct Saved {
        std::string name;
        bool existed = false;
        DWORD type = 0;
        std::string data;
    };
    const char* path_;
    HKEY key_ = nullptr;
    bool created_ = false;
    std::vector<Saved> values_;
};
