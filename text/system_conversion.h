#pragma once
// The system's conversions, behind the core's interface and for the Win32
// side's own texts.
#include <string>
#include <string_view>

#include "text/conversion.h"

// MultiByteToWideChar and WideCharToMultiByte. FromWide reports a lone surrogate
// as unmapped in UTF-8, which holds every other character.
const WideConversions& SystemConversions();
// ANSI <-> UTF-8 through the process's code page.
const AnsiUtf8Converter& SystemAnsiUtf8Converter();

// Text between the process's code page and UTF-16, the system's own: for the
// calls whose ANSI forms have buffers sized in bytes where the system counts
// characters, and for texts another program would convert in its own code page.
std::wstring Widen(std::string_view text);
// A character the code page cannot hold becomes its stand-in; |exact| is
// then false (and true otherwise).
std::string Narrow(std::wstring_view text, bool* exact = nullptr);

// UTF-8 and UTF-16, whatever the process's code page. Bytes that are no UTF-8
// and a lone surrogate become the replacement character.
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);
