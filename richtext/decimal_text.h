#pragma once
#include <algorithm>
#include <string_view>

// Reads a number as atoi does (leading white space, a sign, decimal digits, and
// 0 when there are none) but without its undefined overflow: the magnitude
// stops growing at 2^40, far past any value the callers accept.
inline long long DecimalPrefixValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(value * 10 + (text[i] - '0'), 1LL << 40);
    return negative ? -value : value;
}
