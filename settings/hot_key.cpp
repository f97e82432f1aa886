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
    // An empty hot key (key 0) has no character: a NUL would end the text it goes into.
    if (char character = static_cast<char>(key & 0xFF)) text += character;
    return text;
}
