#include "settings/hot_key.h"

unsigned TranslateHotKeyModifiers(unsigned storedFlags) {
    unsigned swapped = storedFlags & ~unsigned(kHotKeyShift | kHotKeyAlt);
    if (storedFlags & kHotKeyShift) swapped |= kHotKeyAlt;
    if (storedFlags & kHotKeyAlt) swapped |= kHotKeyShift;
    return swapped;
}

std::string FormatHotKeyText(std::uint16_t key, std::uint16_t modifiers) {
    const char* name = "";
    switch (modifiers) {
    case kHotKeyShift: name = "SHIFT"; break;
    case kHotKeyControl: name = "CTRL"; break;
    case kHotKeyAlt: name = "ALT"; break;
    case kHotKeyExtended: name = "WIN"; break;
    }
    std::string text = name;
    text += " + ";
    text += static_cast<char>(key & 0xFF);
    return text;
}
