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

// Picks the subkey a typed key name stands for, as the tree's type-ahead
// search would: the first label equal to it without regard to ASCII case,
// else the first label that begins with it. Labels are offered in tree order.
class LabelChooser {
public:
    LabelChooser(std::string_view name, const CodePage& page);
    // True when this label is equal to the name: no later label can win.
    bool Offer(std::size_t index, std::string_view label);
    // None when no label matched.
    std::optional<std::size_t> Chosen() const { return chosen_; }

private:
    std::string wanted_;
    const CodePage& page_;
    std::optional<std::size_t> chosen_;
    bool equal_ = false;
};
