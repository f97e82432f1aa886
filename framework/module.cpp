#include "framework/module.h"

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
