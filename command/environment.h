#pragma once
// The environment as the system builds it for a session from the registry,
// so variables the user changes in System Properties reach what Brisq runs.

#include <string>
#include <utility>
#include <vector>

#include "command/command_line.h"

class CodePage;

// A value of an Environment key: REG_EXPAND_SZ values are expanded.
struct StoredVariable {
    std::string name;
    std::string value;
    bool expand = false;
};

// The variables to set, in the order to set them: the system's, then the
// user's over them, each key's plain values before its expandable ones, which
// see everything set before them and, for other names, current. The user's
// PATH (and LIBPATH, OS2LIBPATH) follows the system's instead of replacing it.
// Names compare without regard to case.
std::vector<std::pair<std::string, std::string>> SessionVariables(const std::vector<StoredVariable>& system,
                                                                  const std::vector<StoredVariable>& user,
                                                                  const VariableSource& current,
                                                                  const CodePage& page);
