# TinyXML from Debian's source package (scripts/setup unpacks it, patches applied).
set(tinyxml_dir "${BRISQ_DEPS_DIR}/tinyxml")
if(NOT EXISTS "${tinyxml_dir}/tinyxml.h")
  message(FATAL_ERROR "TinyXML sources not found in ${tinyxml_dir}: run scripts/setup first")
endif()
file(READ "${tinyxml_dir}/DEBIAN_SOURCE_VERSION" tinyxml_version)
string(STRIP "${tinyxml_version}" tinyxml_version)
message(STATUS "TinyXML: Debian source ${tinyxml_version}")
add_library(tinyxml STATIC
  ${tinyxml_dir}/tinyxml.cpp ${tinyxml_dir}/tinyxmlparser.cpp
  ${tinyxml_dir}/tinyxmlerror.cpp ${tinyxml_dir}/tinystr.cpp)
target_compile_definitions(tinyxml PUBLIC TIXML_USE_STL)
target_include_directories(tinyxml SYSTEM PUBLIC ${tinyxml_dir})
target_compile_options(tinyxml PRIVATE -w)

# GoogleTest from Debian's googletest package, built for this target.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
