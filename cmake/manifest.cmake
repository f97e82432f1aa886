# res/brisq.manifest declares UTF-8 as the process's code page. The same
# manifest without that declaration lets a program run under the system's code
# page, as Brisq does on a Windows that ignores it: the component tests run
# that way (under both kinds of system code page, see tests/win), and the
# start-up benchmark compares the two.
set(brisq_manifest "${CMAKE_SOURCE_DIR}/res/brisq.manifest")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${brisq_manifest}")
file(READ "${brisq_manifest}" brisq_manifest_text)
string(REGEX REPLACE "[ \t]*<activeCodePage[^>]*>[^<]*</activeCodePage>[ \t]*\r?\n" ""
       brisq_manifest_text "${brisq_manifest_text}")
if(brisq_manifest_text MATCHES "activeCodePage")
  message(FATAL_ERROR "res/brisq.manifest: the activeCodePage element was not found in the form expected")
endif()
set(brisq_system_code_page_dir "${CMAKE_BINARY_DIR}/system_code_page")
file(CONFIGURE OUTPUT "${brisq_system_code_page_dir}/brisq_system_code_page.manifest"
     CONTENT "${brisq_manifest_text}" @ONLY)

# Gives a target that compiles res/brisq.rc the manifest without the code page.
function(brisq_use_system_code_page target)
  target_compile_definitions(${target} PRIVATE BRISQ_SYSTEM_CODE_PAGE)
  target_include_directories(${target} PRIVATE "${brisq_system_code_page_dir}")
  set_source_files_properties("${CMAKE_SOURCE_DIR}/res/brisq.rc" PROPERTIES OBJECT_DEPENDS
                              "${brisq_system_code_page_dir}/brisq_system_code_page.manifest")
endfunction()
