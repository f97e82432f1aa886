#include "command/environment.h"

#include "command/launch_limits.h"
#include "text/code_page.h"

namespace {
// Lists whose user part is added to the system's.
bool IsJoinedList(const std::string& name) {
    std::string folded = FoldCase(name, AsciiOnlyCodePage());
    return folded == "PATH" || folded == "LIBPATH" || folded == "OS2LIBPATH";
}

// What is set so far, over the current environment.
class Building final : public VariableSource {
public:
    Building(const VariableSource& current, const CodePage& page) : current_(current), page_(page) {}

    std::optional<std::string> Variable(const std::string& name) const override {
        if (const std::string* value = Find(name)) return *value;
        return current_.Variable(name);
    }
    // Set this time, not inherited.
    const std::string* Find(const std::string& name) const {
        std::size_t at = IndexOf(name);
        return at == set_.size() ? nullptr : &set_[at].second;
    }
    void Set(const std::string& name, std::string value) {
        std::size_t at = IndexOf(name);
        if (at == set_.size()) set_.emplace_back(name, std::move(value));
        else set_[at].second = std::move(value);
    }
    std::vector<std::pair<std::string, std::string>> Take() { return std::move(set_); }

private:
    std::size_t IndexOf(const std::string& name) const {
        std::string folded = FoldCase(name, page_);
        std::size_t at = 0;
        while (at < set_.size() && FoldCase(set_[at].first, page_) != folded) ++at;
        return at;
    }

    const VariableSource& current_;
    const CodePage& page_;
    std::vector<std::pair<std::string, std::string>> set_;
};
}  // namespace

std::vector<std::pair<std::string, std::string>> SessionVariables(const std::vector<StoredVariable>& system,
                                                                  const std::vector<StoredVariable>& user,
                                                                  const VariableSource& current,
                                                                  const CodePage& page) {
    Building building(current, page);
    auto setFrom = [&](const std::vector<StoredVariable>& key, bool joinLists) {
        for (bool expandable : {false, true}) {
            for (const StoredVariable& stored : key) {
                if (stored.expand != expandable || stored.name.empty()) continue;
                std::string value =
                    expandable ? ExpandVariables(stored.value, building, page, kLongestShellText) : stored.value;
                const std::string* before = joinLists && IsJoinedList(stored.name) ? building.Find(stored.name) : nullptr;
                if (before && !before->empty()) value = *before + (before->back() == ';' ? "" : ";") + value;
                building.Set(stored.name, std::move(value));
            }
        }
    };
    setFrom(system, false);
    setFrom(user, true);
    return building.Take();
}
