#pragma once
#include <cstdint>
#include <string>

// The one system hot key, registered for the launcher window.
constexpr int kLaunchHotKeyId = 4131;

// Modifier flags as the hot-key control stores them.
constexpr std::uint16_t kHotKeyShift = 1, kHotKeyControl = 2, kHotKeyAlt = 4, kHotKeyExtended = 8;

// The hot-key control's flags in RegisterHotKey's form: Shift and Alt swap places.
unsigned TranslateHotKeyModifiers(unsigned storedFlags);

// "CTRL + R" and the like: one modifier name (empty for none or a combination),
// " + ", and the character whose code is the key's low byte (none for 0).
std::string FormatHotKeyText(std::uint16_t key, std::uint16_t modifiers);
