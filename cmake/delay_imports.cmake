# Import libraries that load their DLL on the first call of one of its
# functions instead of at start: the system's loader costs most of Brisq's
# start-up, and these DLLs (and all they load) are needed only once the
# launcher shows. dlltool makes each library from the functions named here; a
# function not named still comes from the ordinary import library, linked after.
function(brisq_delay_import dll)
  set(def "${CMAKE_BINARY_DIR}/delay/${dll}.def")
  set(lib "${CMAKE_BINARY_DIR}/delay/lib${dll}_delay.a")
  list(JOIN ARGN "\n" exports)
  file(CONFIGURE OUTPUT "${def}" CONTENT "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n" @ONLY)
  add_custom_command(OUTPUT "${lib}"
    COMMAND ${CMAKE_DLLTOOL} --input-def "${def}" --dllname ${dll}.dll --output-delaylib "${lib}"
    DEPENDS "${def}" VERBATIM)
  add_custom_target(${dll}_delay_lib DEPENDS "${lib}")
  add_library(${dll}_delay STATIC IMPORTED GLOBAL)
  set_target_properties(${dll}_delay PROPERTIES IMPORTED_LOCATION "${lib}")
  add_dependencies(${dll}_delay ${dll}_delay_lib)
endfunction()

brisq_delay_import(shell32 SHGetFileInfoA SHGetSpecialFolderPathW ShellExecuteA ShellExecuteExA Shell_NotifyIconA)
brisq_delay_import(ole32 CoCreateInstance CoInitializeEx CoUninitialize)
brisq_delay_import(comdlg32 GetOpenFileNameA)
brisq_delay_import(version GetFileVersionInfoA GetFileVersionInfoSizeA VerQueryValueA)
