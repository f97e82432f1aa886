// The executable's load configuration: the linker points the image's load
// configuration directory at this symbol. It carries one setting: the DLLs
// that Brisq's static imports import in turn come from System32 only, never
// from the folder Brisq.exe lies in (DependentLoadFlags, the field these
// headers still call Reserved1; read by Windows 10 1607 and later).
#include <windows.h>

#include <cstddef>

static_assert(offsetof(IMAGE_LOAD_CONFIG_DIRECTORY64, Reserved1) == 0x4E, "DependentLoadFlags");

namespace {
constexpr IMAGE_LOAD_CONFIG_DIRECTORY64 DependentLoadsFromSystem32() {
    IMAGE_LOAD_CONFIG_DIRECTORY64 configuration{};
    configuration.Size = sizeof(configuration);
    configuration.Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32;
    return configuration;
}
}  // namespace

extern "C" const IMAGE_LOAD_CONFIG_DIRECTORY64 _load_config_used = DependentLoadsFromSystem32();
