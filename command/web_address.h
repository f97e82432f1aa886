#pragma once
#include <cstddef>
#include <string>
#include <string_view>

class CodePage;

// True when text names a scheme ("://") or its host part, a port after it
// left aside, ends in a known top-level domain.
bool IsWebAddress(const std::string& text, const CodePage& page);

// True when label (lower case; UTF-8, or its xn-- form, for other scripts) is
// a top-level domain of the current root zone or of the built-in table.
bool IsTopLevelDomain(const std::string& label);
std::size_t TopLevelDomainCount();

// True when text begins with a scheme, "mailto:" or "ms-settings:", which the
// shell opens as it stands: a letter, then letters, digits, '+', '-' or '.',
// then ':'. A single letter is a drive, and "host.tld:8080" a host and port.
bool BeginsWithScheme(std::string_view text);

// The built-in top-level domains, lower case: every one is still recognised.
extern const char* const kTldTable[];
extern const unsigned kTldCount;
