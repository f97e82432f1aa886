#include "framework/dll_search.h"

#include <delayimp.h>

#include <cstring>
#include <string>

#include "hresult_imports.h"  // made by cmake/imports.cmake from its list

namespace {
// kernel32 is a KnownDLL: its functions of newer systems can be asked for by name.
template <class Function>
Function Kernel32Function(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name)));
}

// Stand-ins for a delay-loaded function that cannot be reached: the call fails
// the way the function itself reports failure, and Brisq goes on. Under the x64
// convention the caller removes its own arguments, so one stand-in serves every
// signature that fails the same way (a FALSE, a null handle, a zero size).
INT_PTR WINAPI FailWithZero() {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return 0;
}
HRESULT WINAPI FailWithHresult() { return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND); }

bool ReportsByHresult(const char* function) {
    for (const char* name : {BRISQ_HRESULT_IMPORTS})
        if (std::strcmp(name, function) == 0) return true;
    return false;
}

// Takes over the first call of every delay-loaded function, before the
// runtime's helper could look for the DLL by its own search.
FARPROC WINAPI ResolveDelayLoadedFunction(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliStartProcessing) return nullptr;
    std::wstring dll(info->szDll, info->szDll + std::strlen(info->szDll));  // the names are ASCII
    const char* procedure = info->dlp.fImportByName ? info->dlp.szProcName : MAKEINTRESOURCEA(info->dlp.dwOrdinal);
    FARPROC function = nullptr;
    if (HMODULE module = LoadSystemLibrary(dll.c_str())) function = GetProcAddress(module, procedure);
    if (!function) {
        bool hresult = info->dlp.fImportByName && ReportsByHresult(procedure);
        void* standIn = hresult ? reinterpret_cast<void*>(FailWithHresult) : reinterpret_cast<void*>(FailWithZero);
        function = reinterpret_cast<FARPROC>(standIn);
    }
    *info->ppfn = function;  // later calls go straight there
    return function;
}
}  // namespace

// The runtime's delay-load helper calls this hook first (declared in <delayimp.h>).
PfnDliHook __pfnDliNotifyHook2 = ResolveDelayLoadedFunction;

void RestrictDllSearchToSystem() {
    using TakesFlags = BOOL(WINAPI*)(DWORD);
    // Windows 8 and later, 7 with KB2533623. Without it, at least the current
    // directory leaves the search.
    auto setDefault = Kernel32Function<TakesFlags>("SetDefaultDllDirectories");
    if (!setDefault || !setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) SetDllDirectoryA("");

    // The programs a typed line names are looked up in the current directory
    // only after the system's folders.
    if (auto setMode = Kernel32Function<TakesFlags>("SetSearchPathMode"))
        setMode(BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT);

    // Windows 10: the DLLs a system DLL imports come from System32 before the program's folder.
    using SetProcessMitigationPolicyFunction = BOOL(WINAPI*)(PROCESS_MITIGATION_POLICY, PVOID, SIZE_T);
    if (auto setPolicy = Kernel32Function<SetProcessMitigationPolicyFunction>("SetProcessMitigationPolicy")) {
        PROCESS_MITIGATION_IMAGE_LOAD_POLICY policy{};
        policy.PreferSystem32Images = 1;
        setPolicy(ProcessImageLoadPolicy, &policy, sizeof(policy));
    }
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module || GetLastError() != ERROR_INVALID_PARAMETER) return module;
    // A system that does not know the flag (Windows 7 before KB2533623): the full path.
    wchar_t folder[MAX_PATH];
    UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    std::wstring path = std::wstring(folder, length) + L'\\' + name;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
