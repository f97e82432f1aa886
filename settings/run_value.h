#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The command line the Run value must hold: the executable's path in quotes.
std::string QuotedCommand(std::string_view modulePath);

// Whether the Run value as read (its registry type and every byte of its data)
// already holds command. Only a string value whose data ends with its NUL
// counts; letters compare without regard to ASCII case.
bool RunValueIsCurrent(std::uint32_t type, std::string_view data, std::string_view command);
