#include "command/registry_path.h"

#include "text/code_page.h"

namespace {
// True when a character of text starts at offset (or offset is its end).
bool StartsCharacterAt(std::string_view text, std::size_t offset, const CodePage& page) {
    std::size_t i = 0;
    while (i < offset) i += CharLength(page, text.data(), i, text.size());
    return i == offset;
}
}  // namespace

RegistryPathSteps SplitRegistryPath(std::string_view path, const CodePage& page) {
    RegistryPathSteps steps;
    std::string name;
    for (std::size_t i = 0; i < path.size();) {
        unsigned length = CharLength(page, path.data(), i, path.size());
        if (length == 1 && path[i] == '\\') {
            if (!name.empty()) steps.names.push_back(std::move(name));
            name.clear();
        } else {
            name.append(path.substr(i, length));
        }
        i += length;
    }
    if (!name.empty()) steps.names.push_back(std::move(name));
    else steps.expandLast = !steps.names.empty();
    return steps;
}

LabelChooser::LabelChooser(std::string_view name, const CodePage& page) : wanted_(LowerCase(name, page)), page_(page) {}

bool LabelChooser::Offer(std::size_t index, std::string_view label) {
    if (equal_ || wanted_.empty()) return equal_;
    std::string folded = LowerCase(label, page_);
    if (folded == wanted_) {
        chosen_ = index;
        return equal_ = true;
    }
    // A name that ends inside a two-byte character does not begin the label.
    if (!chosen_ && folded.size() > wanted_.size() && folded.compare(0, wanted_.size(), wanted_) == 0 &&
        StartsCharacterAt(folded, wanted_.size(), page_))
        chosen_ = index;
    return false;
}
