#include "command/registry_path.h"

#include "text/code_page.h"

namespace {
// Folds ASCII letters that are whole characters; trail bytes stay as they are.
// boundaries, when asked for, marks each offset where a character starts (and the end).
std::string Folded(std::string_view text, const CodePage& page, std::vector<bool>* boundaries = nullptr) {
    std::string folded(text);
    if (boundaries) boundaries->assign(text.size() + 1, false);
    for (std::size_t i = 0; i < text.size();) {
        if (boundaries) (*boundaries)[i] = true;
        unsigned length = CharLength(page, text.data(), i, text.size());
        if (length == 1) folded[i] = AsciiLower(text[i]);
        i += length;
    }
    if (boundaries) boundaries->back() = true;
    return folded;
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

LabelChooser::LabelChooser(std::string_view name, const CodePage& page) : wanted_(Folded(name, page)), page_(page) {}

bool LabelChooser::Offer(std::size_t index, std::string_view label) {
    if (equal_ || wanted_.empty()) return equal_;
    std::vector<bool> boundaries;
    std::string folded = Folded(label, page_, &boundaries);
    if (folded == wanted_) {
        chosen_ = index;
        return equal_ = true;
    }
    // A name that ends inside a two-byte character does not begin the label.
    if (!chosen_ && folded.size() > wanted_.size() && boundaries[wanted_.size()] &&
        folded.compare(0, wanted_.size(), wanted_) == 0)
        chosen_ = index;
    return false;
}
