#pragma once
#include "command/command_line.h"

// What this machine has: its files and folders, its App Paths, its system
// folders and Brisq's, and the launcher's environment.
class SystemProbe final : public CommandProbe {
public:
    PathKind KindOf(const std::string& path) const override;
    std::optional<std::string> AppPath(AppPathsHive hive, const std::string& fileName) const override;
    SystemFolders Folders() const override;
    std::optional<std::string> Variable(const std::string& name) const override;
};
