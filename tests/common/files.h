#pragma once
#include <string>

namespace testkit {

// A fresh folder under %TEMP%, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }  // with a trailing backslash
    std::string File(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

bool FileExists(const std::string& path);
// The whole file, or empty when it cannot be read.
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
// A folder (given with its trailing backslash) and everything below it.
void RemoveTree(const std::string& folder);

// settings.xml and aliases.xml as the program writes them when nothing was changed.
inline constexpr char kDefaultSettingsXml[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<settings>\r\n    <general>\r\n"
    "        <start_with_windows val=\"1\" />\r\n        <icon_in_tray val=\"0\" />\r\n"
    "        <hot_key key=\"82\" mod=\"2\" />\r\n    </general>\r\n    <show>\r\n"
    "        <run_history val=\"1\" />\r\n        <typed_urls val=\"1\" />\r\n"
    "        <start_menu val=\"1\" />\r\n    </show>\r\n</settings>\r\n";
inline constexpr char kEmptyAliasesXml[] = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<aliases />\r\n";

}  // namespace testkit
