#pragma once
#include <string>

class CodePage;

// True when text names a scheme ("://") or its host part ends in a known
// top-level domain.
bool IsWebAddress(const std::string& text, const CodePage& page);

// The built-in top-level domains, lower case.
extern const char* const kTldTable[];
extern const unsigned kTldCount;
