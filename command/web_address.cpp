#include "command/web_address.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "command/launch_limits.h"
#include "command/root_zone_domains.inc"
#include "text/code_page.h"

// The table of 2005, kept whole: some of its names have left the root zone
// (nato, yu, zr) but may still name hosts on a network of their own.
const char* const kTldTable[] = {
    "ac", "ad", "ae", "aero", "af", "ag", "ai", "al", "am", "an", "ao", "aq", "ar", "arpa", "arts",
    "as", "at", "au", "aw", "az", "ba", "bb", "bd", "be", "bf", "bg", "bh", "bi", "biz", "bj", "bm",
    "bn", "bo", "br", "bs", "bt", "bv", "bw", "by", "bz", "ca", "cc", "cd", "cf", "cg", "ch", "ci",
    "ck", "cl", "cm", "cn", "co", "com", "coop", "cr", "cu", "cv", "cx", "cy", "cz", "de", "dj",
    "dk", "dm", "do", "dz", "ec", "edu", "ee", "eg", "eh", "er", "es", "et", "fi", "firm", "fj",
    "fk", "fm", "fo", "fr", "fx", "ga", "gd", "ge", "gf", "gg", "gh", "gi", "gl", "gm", "gn", "gov",
    "gp", "gq", "gr", "gs", "gt", "gu", "gw", "gy", "hk", "hm", "hn", "hr", "ht", "hu", "id", "ie",
    "il", "im", "in", "info", "int", "io", "iq", "ir", "is", "it", "je", "jm", "jo", "jp", "ke",
    "kg", "kh", "ki", "km", "kn", "kp", "kr", "kw", "ky", "kz", "la", "lb", "lc", "li", "lk", "lr",
    "ls", "lt", "lu", "lv", "ly", "ma", "mc", "md", "mg", "mh", "mil", "mk", "ml", "mm", "mn", "mo",
    "mp", "mq", "mr", "ms", "mt", "mu", "museum", "mv", "mw", "mx", "my", "mz", "na", "name",
    "nato", "nc", "ne", "net", "nf", "ng", "ni", "nl", "no", "nom", "np", "nr", "nu", "nz", "om",
    "org", "pa", "pe", "pf", "pg", "ph", "pk", "pl", "pn", "pr", "pro", "pt", "pw", "py", "qa",
    "re", "rec", "ro", "ru", "rw", "sa", "sb", "sc", "sd", "se", "sg", "sh", "shop", "si", "sj",
    "sk", "sl", "sm", "sn", "so", "sr", "st", "sv", "sy", "sz", "tc", "td", "tf", "tg", "th", "tj",
    "tk", "tm", "tn", "to", "tp", "tr", "tt", "tv", "tw", "tz", "ua", "ug", "uk", "um", "us", "uy",
    "uz", "va", "vc", "ve", "vg", "vi", "vn", "vu", "web", "wf", "ws", "ye", "yt", "yu", "za", "zm",
    "zr", "zw",
};
const unsigned kTldCount = sizeof(kTldTable) / sizeof(kTldTable[0]);

namespace {
const std::unordered_set<std::string>& TopLevelDomains() {
    static const std::unordered_set<std::string> set = [] {
        std::unordered_set<std::string> names(kTldTable, kTldTable + kTldCount);
        for (const char* name = kRootZoneDomains; *name; name += std::strlen(name) + 1) names.insert(name);
        return names;
    }();
    return set;
}

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// The digits of a port and nothing else.
bool IsPort(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsAsciiDigit);
}
}  // namespace

bool IsTopLevelDomain(const std::string& label) { return TopLevelDomains().count(label) != 0; }
std::size_t TopLevelDomainCount() { return TopLevelDomains().size(); }

bool BeginsWithScheme(std::string_view text) {
    if (!HasAddressScheme(text)) return false;
    std::string_view rest = text.substr(text.find(':') + 1);
    return !IsPort(rest.substr(0, rest.find('/')));
}

bool IsWebAddress(const std::string& text, const CodePage& page) {
    std::string lower = LowerCase(text, page);
    if (lower.find("://") != std::string::npos) return true;

    std::size_t end = FindCharacter(lower, '/', 0, page);
    if (end == std::string::npos) end = FindCharacter(lower, '\\', 0, page);
    std::string host = lower.substr(0, end);

    std::size_t dot = std::string::npos, colon = std::string::npos;
    for (std::size_t i = 0; i < host.size(); i += CharLength(page, host.data(), i, host.size())) {
        if (host[i] == '.') dot = i;
        else if (host[i] == ':') colon = i;
    }
    if (colon != std::string::npos && colon > dot && IsPort(std::string_view(host).substr(colon + 1)))
        host.resize(colon);
    if (dot == std::string::npos || dot + 1 == host.size()) return false;
    return IsTopLevelDomain(host.substr(dot + 1));
}
