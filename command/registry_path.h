#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CodePage;

// A typed registry path as steps through the editor's tree: the key names in
// order, and whether a closing '\' asks for the last key to be opened as well.
struct RegistryPathSteps {
    std::vector<std::string> names;
    bool expandLast = false;
};

// Splits at '\' (never at a trail byte); empty names from doubled separators are dropped.
RegistryPathSteps SplitRegistryPath(std::string_view path, const CodePage& page);

// The label a key name picks among a key's subkeys, as the tree's type-ahead
// search would: the first equal label without regard to ASCII case, else the
// first label that begins with the name. None when nothing matches.
std::optional<std::size_t> ChooseLabel(const std::vector<std::string>& labels, std::string_view name,
                                       const CodePage& page);
