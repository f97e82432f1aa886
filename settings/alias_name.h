#pragma once
#include <string>
#include <string_view>

#include "text/code_page.h"

// The name an alias gets from a picked file: the file name without its last
// extension (tool.exe gives tool, archive.tar.gz gives archive.tar). The
// backslash search keeps double-byte characters whole, since their second
// byte can be a backslash.
std::string AliasNameFromPath(std::string_view path, const CodePage& page);
