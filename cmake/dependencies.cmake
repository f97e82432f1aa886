# TinyXML from Debian's source package (scripts/setup unpacks it, patches applied).
set(tinyxml_dir "${BRISQ_DEPS_DIR}/tinyxml")
if(NOT EXISTS "${tinyxml_dir}/tinyxml.h")
  message(FATAL_ERROR "TinyXML sources not found in ${tinyxml_dir}: run scripts/setup first")
endif()
file(READ "${tinyxml_dir}/DEBIAN_SOURCE_VERSION" tinyxml_version)
string(STRIP "${tinyxml_version}" tinyxml_version)
set(tinyxml_sources tinyxml.cpp tinyxmlparser.cpp tinyxmlerror.cpp tinystr.cpp)

# With its STL option the library reads and writes through the C++ streams and
# locales, two thirds of Brisq.exe; Brisq uses no stream. Both builds read and
# write the same files. Debian's header forces the option on, so the build
# without it gets a copy of the sources whose header leaves it to the compiler.
option(BRISQ_TINYXML_STL "Build TinyXML with TIXML_USE_STL" OFF)

function(add_tinyxml name dir stl)
  list(TRANSFORM tinyxml_sources PREPEND "${dir}/" OUTPUT_VARIABLE sources)
  add_library(${name} STATIC EXCLUDE_FROM_ALL ${sources})
  if(stl)
    target_compile_definitions(${name} PUBLIC TIXML_USE_STL)
  endif()
  target_include_directories(${name} SYSTEM PUBLIC ${dir})
  target_compile_options(${name} PRIVATE -w)
  if(WIN32)
    # Its sscanf and snprintf from the system's C library: MinGW's own, which
    # C++ files get by default, would add their float formatting to the program.
    target_compile_definitions(${name} PRIVATE __USE_MINGW_ANSI_STDIO=0)
    target_compile_options(${name} PRIVATE -O2)  # 200,000 aliases are parsed at start
  endif()
endfunction()

set(tinyxml_plain_dir "${CMAKE_BINARY_DIR}/tinyxml-plain")
foreach(file ${tinyxml_sources} tinystr.h)
  configure_file("${tinyxml_dir}/${file}" "${tinyxml_plain_dir}/${file}" COPYONLY)
endforeach()
file(READ "${tinyxml_dir}/tinyxml.h" header)
string(REPLACE "#ifndef TIXML_USE_STL\n\t#define TIXML_USE_STL\n#endif\n" "" plain_header "${header}")
if(plain_header STREQUAL header)
  message(FATAL_ERROR "TinyXML ${tinyxml_version}: the header no longer forces TIXML_USE_STL as expected")
endif()
file(CONFIGURE OUTPUT "${tinyxml_plain_dir}/tinyxml.h" CONTENT "${plain_header}" @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${tinyxml_dir}/tinyxml.h")

add_tinyxml(tinyxml_stl "${tinyxml_dir}" ON)
add_tinyxml(tinyxml_plain "${tinyxml_plain_dir}" OFF)
if(BRISQ_TINYXML_STL)
  add_library(tinyxml ALIAS tinyxml_stl)
else()
  add_library(tinyxml ALIAS tinyxml_plain)
endif()
message(STATUS "TinyXML: Debian source ${tinyxml_version}, STL option ${BRISQ_TINYXML_STL}")

# GoogleTest from Debian's googletest package, built for this target.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
