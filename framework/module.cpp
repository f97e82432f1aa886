#include "framework/module.h"

#include <vector>

namespace {
struct ModuleRecord {
    HINSTANCE instance = nullptr;
    DWORD mainThreadId = 0;
} record;
}  // namespace

void Module::Init(HINSTANCE instance) {
    record.instance = instance;
    record.mainThreadId = GetCurrentThreadId();
}

void Module::Term() { record = ModuleRecord{}; }

HINSTANCE Module::Instance() { return record.instance ? record.instance : GetModuleHandleA(nullptr); }

DWORD Module::MainThreadId() { return record.mainThreadId; }

std::string ModuleFileName(HMODULE module, DWORD firstCapacity) {
    // Long-path prefixes allow up to 32767 characters.
    for (DWORD capacity = firstCapacity ? firstCapacity : 1; capacity <= 0x10000; capacity *= 2) {
        std::vector<char> path(capacity);
        DWORD length = GetModuleFileNameA(module, path.data(), capacity);
        if (length == 0) return {};
        if (length < capacity) return std::string(path.data(), length);  // capacity means cut short
    }
    return {};
}

std::string LoadResourceString(UINT id) {
    char text[256];
    int length = LoadStringA(Module::Instance(), id, text, sizeof(text));
    return std::string(text, length > 0 ? length : 0);
}
