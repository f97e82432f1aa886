#include "app/single_instance.h"

#include <windows.h>

#include "framework/owners.h"

namespace {
const char kMutexName[] = "{BRISQ-3C1E-4a2f-9D07-5B8E61A0C4F2}";
const UINT kPerWindowWaitMs = 200;

KernelHandle instanceMutex;

BOOL CALLBACK AskToShow(HWND window, LPARAM answered) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(window, kShowLauncherMessage, 0, 0, SMTO_BLOCK, kPerWindowWaitMs, &result) &&
        result == kShowLauncherMessage) {
        *reinterpret_cast<HWND*>(answered) = window;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

bool EnsureSingleInstance() {
    HANDLE mutex = CreateMutexA(nullptr, TRUE, kMutexName);
    DWORD error = GetLastError();
    instanceMutex.Reset(mutex);
    if (instanceMutex) ReleaseMutex(instanceMutex.get());  // only the name matters
    if (error != ERROR_ALREADY_EXISTS) return false;

    HWND answered = nullptr;
    EnumWindows(AskToShow, reinterpret_cast<LPARAM>(&answered));
    return true;
}

void CloseSingleInstanceMutex() {
    instanceMutex.Reset();
}
