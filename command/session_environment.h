#pragma once
#include <windows.h>

// Reads the user's and the system's variables again from where the system
// keeps them and sets them in this process, as the shell does when System
// Properties announces a change: expansion and program lookup see them, and
// so does every program launched from here on.
void ReloadSessionEnvironment();

// True when a WM_SETTINGCHANGE's text names the environment. The text may come
// from any program: it is read only where it can be.
bool NamesEnvironment(LPARAM text);
