#include "command/session_environment.h"

#include <string>
#include <vector>

#include "command/environment.h"
#include "framework/message_table.h"
#include "text/system_conversion.h"
#include "text/utf8.h"

namespace {
const wchar_t kSystemEnvironment[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
const wchar_t kUserEnvironment[] = L"Environment";

// Read and written in UTF-16, so names and values in any script come through
// whatever the process's code page.
std::vector<StoredVariable> ReadEnvironmentKey(HKEY root, const wchar_t* path) {
    std::vector<StoredVariable> variables;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return variables;
    DWORD count = 0, longestName = 0, largestData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                         &largestData, nullptr, nullptr) == ERROR_SUCCESS) {
        std::vector<wchar_t> name(longestName + 1);
        std::vector<wchar_t> data(largestData / sizeof(wchar_t) + 1);
        for (DWORD i = 0; i < count; ++i) {
            DWORD nameLength = DWORD(name.size()), dataSize = DWORD(largestData), type = 0;
            if (RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                              &dataSize) != ERROR_SUCCESS ||
                (type != REG_SZ && type != REG_EXPAND_SZ))
                continue;
            std::wstring value(data.data(), dataSize / sizeof(wchar_t));
            value.resize(value.find(L'\0') == std::wstring::npos ? value.size() : value.find(L'\0'));
            variables.push_back(
                {Utf8FromWide(std::wstring_view(name.data(), nameLength)), Utf8FromWide(value), type == REG_EXPAND_SZ});
        }
    }
    RegCloseKey(key);
    return variables;
}

class ProcessEnvironment final : public VariableSource {
public:
    std::optional<std::string> Variable(const std::string& name) const override {
        std::wstring wideName = WideFromUtf8(name);
        DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
        if (size == 0) return std::nullopt;
        std::wstring value(size, L'\0');
        DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
        if (length >= size) return std::nullopt;
        value.resize(length);
        return Utf8FromWide(value);
    }
};
}  // namespace

void ReloadSessionEnvironment() {
    const Utf8CodePage utf8;
    auto variables = SessionVariables(ReadEnvironmentKey(HKEY_LOCAL_MACHINE, kSystemEnvironment),
                                      ReadEnvironmentKey(HKEY_CURRENT_USER, kUserEnvironment), ProcessEnvironment(), utf8);
    for (const auto& [name, value] : variables)
        SetEnvironmentVariableW(WideFromUtf8(name).c_str(), WideFromUtf8(value).c_str());
}

bool NamesEnvironment(LPARAM text) {
    static const char kEnvironment[] = "Environment";
    const auto* given = reinterpret_cast<const char*>(text);
    if (!IsReadableMemory(given, sizeof(kEnvironment))) return false;
    for (std::size_t i = 0; i < sizeof(kEnvironment); ++i)
        if (AsciiLower(given[i]) != AsciiLower(kEnvironment[i])) return false;
    return true;
}
