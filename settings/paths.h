#pragma once
#include <string>
#include <string_view>

#include "text/code_page.h"

// |fileName| in the folder of |modulePath|: everything up to and including the last
// backslash, found character by character so that a trail byte that looks like a
// backslash never cuts a double-byte name. No backslash: the bare file name.
std::string PathInFolderOf(std::string_view modulePath, std::string_view fileName, const CodePage& page);
