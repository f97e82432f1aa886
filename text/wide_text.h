#pragma once
// Text between the process's code page and UTF-16, the system's own: for the
// calls whose ANSI forms have buffers sized in bytes where the system counts
// characters, and for texts another program would convert in its own code page.
#include <string>
#include <string_view>

std::wstring Widen(std::string_view text);
// A character the code page cannot hold becomes its stand-in; |exact| is
// then false (and true otherwise).
std::string Narrow(std::wstring_view text, bool* exact = nullptr);
