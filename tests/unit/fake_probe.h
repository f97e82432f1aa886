#pragma once
#include <initializer_list>
#include <map>
#include <set>
#include <string>

#include "command/command_line.h"
#include "text/code_page.h"

// A machine made of tables, with a file system that ignores ASCII case.
class FakeProbe final : public CommandProbe {
public:
    PathKind KindOf(const std::string& path) const override {
        ++probes;
        std::string key = Key(path);
        if (files.count(key)) return PathKind::File;
        return folders.count(key) ? PathKind::Folder : PathKind::Missing;
    }
    std::optional<std::string> AppPath(AppPathsHive hive, const std::string& fileName) const override {
        auto found = appPaths.find({hive, LowerCase(fileName, SingleByteCodePage())});
        if (found == appPaths.end()) return std::nullopt;
        return found->second;
    }
    SystemFolders Folders() const override { return system; }
    std::optional<std::string> Variable(const std::string& name) const override {
        auto found = variables.find(name);
        if (found == variables.end()) return std::nullopt;
        return found->second;
    }

    void AddFiles(std::initializer_list<const char*> paths) {
        for (const char* path : paths) files.insert(Key(path));
    }
    void AddFolders(std::initializer_list<const char*> paths) {
        for (const char* path : paths) folders.insert(Key(path));
    }
    // The system takes either slash.
    static std::string Key(std::string path) {
        for (char& c : path) c = c == '/' ? '\\' : c;
        return LowerCase(path, SingleByteCodePage());
    }

    std::set<std::string> files, folders;  // as Key() gives them
    std::map<std::pair<AppPathsHive, std::string>, std::string> appPaths;
    std::map<std::string, std::string> variables;
    SystemFolders system{"C:\\windows\\system32", "C:\\windows\\System", "C:\\windows", "D:\\Portable\\Brisq\\"};
    mutable int probes = 0;
};
