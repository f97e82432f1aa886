#include "framework/files.h"

#include <windows.h>

#include "framework/owners.h"

FileRead ReadWholeFile(const std::string& path, std::size_t limit, std::string& bytes) {
    bytes.clear();
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileRead::kMissing
                                                                                : FileRead::kUnreadable;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FileRead::kMissing;
    KernelHandle file(ValidOrNull(CreateFileA(path.c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > limit)
        return FileRead::kUnreadable;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));  // may throw: the handle is closed all the same
    DWORD done = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.get(), bytes.data(), DWORD(bytes.size()), &done, nullptr) || done != bytes.size())) {
        bytes.clear();
        return FileRead::kUnreadable;
    }
    return FileRead::kRead;
}
