#pragma once
// The files beside the executable, as the Win32 side reads and writes them.
#include <string>
#include <string_view>

// |fileName| in the folder of the running executable, whatever the length of its path.
std::string PathBesideExecutable(const std::string& fileName);

// Writes a temporary file beside |path| and moves it over |path| in one step: on any
// failure the old file is as it was and the temporary file is gone.
bool SaveFileAtomically(const std::string& path, std::string_view bytes);

// Renames |path| to "<path>.bad", or "<path>.bad2" and on if that is taken. True when
// the file is out of the way (also when it no longer exists).
bool SetFileAside(const std::string& path);
