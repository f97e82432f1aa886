#pragma once

// Takes the current directory out of the DLL search path for the rest of the
// process. The Alias dialog's browse leaves the current directory in a folder
// the user picked files from; no DLL may ever be loaded from there.
// Call before any window exists.
void RemoveCurrentDirectoryFromDllSearch();
