# Run after each link of Brisq.exe (cmake/imports.cmake): fails the build when
# the executable imports at start from a DLL outside ALLOWED (a new call that
# was not made delay-loaded lands here), or when its load configuration does
# not keep the static imports' own DLLs to System32.
# cmake -DOBJDUMP=... -DALLOWED=a;b -DEXE=... -P check_imports.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} -p ${EXE} failed")
endif()
get_filename_component(name ${EXE} NAME)

string(TOUPPER "${ALLOWED}" allowed)
string(REGEX MATCHALL "DLL Name: [^\n]+" dll_lines "${headers}")
if(NOT dll_lines)
  message(FATAL_ERROR "${name}: objdump listed no imported DLL; its output has changed form")
endif()
set(refused "")
foreach(line ${dll_lines})
  string(REGEX REPLACE "^DLL Name: (.+)\\.[dD][lL][lL]$" "\\1" dll "${line}")
  string(TOUPPER "${dll}" dll)
  if(NOT dll IN_LIST allowed)
    # The functions taken from it: the rows of its table, up to a blank line.
    string(REGEX MATCH "${line}\n([^\n]+\n)+" table "${headers}")
    string(REGEX MATCHALL "[0-9] +[A-Za-z_][A-Za-z0-9_@]*\n" rows "${table}")
    list(TRANSFORM rows REPLACE "^[0-9] +([^\n]+)\n$" "\\1")
    string(APPEND refused "\n  ${dll}: ${rows}")
  endif()
endforeach()
if(refused)
  message(FATAL_ERROR "${name} imports at start from DLLs that could be planted beside it:${refused}\n"
          "Name such a function in cmake/imports.cmake (brisq_delay_import), or take it from one of: ${ALLOWED}")
endif()

# DependentLoadFlags, a 16-bit field at 0x4E of the load configuration.
string(REGEX MATCH "ImageBase[\t ]+([0-9a-f]+)" found "${headers}")
set(image_base "${CMAKE_MATCH_1}")
string(REGEX MATCH "Entry a ([0-9a-f]+) ([0-9a-f]+) Load Configuration Directory" found "${headers}")
set(config_rva "${CMAKE_MATCH_1}")
if(NOT found OR config_rva MATCHES "^0+$")
  message(FATAL_ERROR "${name} has no load configuration: app/load_config.cpp was not linked in")
endif()
math(EXPR field "0x${image_base} + 0x${config_rva} + 0x4E" OUTPUT_FORMAT HEXADECIMAL)
math(EXPR field_end "${field} + 2" OUTPUT_FORMAT HEXADECIMAL)
execute_process(COMMAND ${OBJDUMP} -s --start-address=${field} --stop-address=${field_end} ${EXE}
                OUTPUT_VARIABLE dump)
# A dump row: the address, then the bytes in groups of four hexadecimal pairs.
string(REGEX MATCH "\n [0-9a-f]+ ([0-9a-f][0-9a-f])([0-9a-f][0-9a-f])" found "${dump}")
if(NOT found OR NOT "${CMAKE_MATCH_2}${CMAKE_MATCH_1}" STREQUAL "0800")
  message(FATAL_ERROR "${name}: DependentLoadFlags is not 0x0800 (LOAD_LIBRARY_SEARCH_SYSTEM32):\n${dump}")
endif()
