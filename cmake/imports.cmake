# The DLLs Brisq.exe takes functions from, in one place, and the check that
# holds every build of it to them.
#
# Loaded at start, before any code of Brisq's can run: only DLLs that cannot be
# planted beside the program. People keep Brisq.exe in folders others can
# write to, and Windows looks in the program's folder first for a DLL that is
# not a KnownDLL. These are KnownDLLs, mapped from System32 whatever lies beside
# the program; comctl32 version 6 comes from the side-by-side store, which the
# manifest names (with a manifest, Windows ignores a Brisq.exe.local folder).
set(brisq_static_imports ADVAPI32 COMCTL32 GDI32 KERNEL32 msvcrt USER32)

# Loaded on the first call of one of their functions instead of at start: the
# system's loader costs most of Brisq's start-up, and these DLLs (and all they
# load) are needed only once the launcher shows. framework/dll_search.cpp takes
# over each first call and loads the DLL from System32 only. A function that
# reports failure by an HRESULT is marked :HRESULT, so that when it cannot be
# reached the call fails as the function itself would; every other stand-in
# returns 0. dlltool makes each library from the functions named here; a
# function not named comes from the ordinary import library and fails the check
# below.
add_library(brisq_hresult_imports INTERFACE)

function(brisq_delay_import dll)
  set(def "${CMAKE_BINARY_DIR}/delay/${dll}.def")
  set(lib "${CMAKE_BINARY_DIR}/delay/lib${dll}_delay.a")
  set(exports "")
  foreach(function ${ARGN})
    if(function MATCHES "^(.+):HRESULT$")
      set(function "${CMAKE_MATCH_1}")
      set_property(TARGET brisq_hresult_imports APPEND PROPERTY BRISQ_HRESULT_IMPORTS "${function}")
    endif()
    string(APPEND exports "${function}\n")
  endforeach()
  file(CONFIGURE OUTPUT "${def}" CONTENT "LIBRARY ${dll}.dll\nEXPORTS\n${exports}" @ONLY)
  add_custom_command(OUTPUT "${lib}"
    COMMAND ${CMAKE_DLLTOOL} --input-def "${def}" --dllname ${dll}.dll --output-delaylib "${lib}"
    DEPENDS "${def}" VERBATIM)
  add_custom_target(${dll}_delay_lib DEPENDS "${lib}")
  add_library(${dll}_delay STATIC IMPORTED GLOBAL)
  set_target_properties(${dll}_delay PROPERTIES IMPORTED_LOCATION "${lib}")
  add_dependencies(${dll}_delay ${dll}_delay_lib)
endfunction()

brisq_delay_import(shell32 SHGetFileInfoA SHGetSpecialFolderPathW ShellExecuteA ShellExecuteExA Shell_NotifyIconA)
brisq_delay_import(ole32 CoCreateInstance:HRESULT CoInitializeEx:HRESULT CoUninitialize)
brisq_delay_import(comdlg32 GetOpenFileNameA)
brisq_delay_import(version GetFileVersionInfoA GetFileVersionInfoSizeA VerQueryValueA)

# The list of marked functions, for framework/dll_search.cpp; written once every
# directory (tests included) has named its delay-loaded functions.
set(brisq_hresult_names "$<TARGET_PROPERTY:brisq_hresult_imports,BRISQ_HRESULT_IMPORTS>")
file(GENERATE OUTPUT "${CMAKE_BINARY_DIR}/delay/hresult_imports.h" CONTENT
     "#define BRISQ_HRESULT_IMPORTS \"$<JOIN:${brisq_hresult_names},\"$<COMMA> \">\"\n")

# What a build of Brisq.exe gets besides its code: the load configuration that
# tells Windows where the static imports' own DLLs come from, and after every
# link the check of its imports against the list above and of that setting.
# GNU ld 2.40 links the structure in (kept by name from --gc-sections) but
# leaves the image's directory entry for it empty: set_load_config.pl fills it
# in from the linker's map.
function(brisq_guard_dll_loading target)
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/app/load_config.cpp)
  set(map "${CMAKE_CURRENT_BINARY_DIR}/${target}.map")
  target_link_options(${target} PRIVATE -Wl,--undefined=_load_config_used "-Wl,-Map=${map}")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND perl ${CMAKE_SOURCE_DIR}/cmake/set_load_config.pl $<TARGET_FILE:${target}> ${map}
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} "-DALLOWED=${brisq_static_imports}"
            -DEXE=$<TARGET_FILE:${target}> -P ${CMAKE_SOURCE_DIR}/cmake/check_imports.cmake
    VERBATIM)
endfunction()
