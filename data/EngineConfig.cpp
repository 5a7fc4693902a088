#include "EngineConfig.h"

#include "PrivateFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string userDirectory(const char* xdgVariable, const char* homeRelative)
{
    std::string base = environment(xdgVariable);
    if (base.empty())
        base = environment("HOME") + homeRelative;
    return base + "/arsipstaf";
}

std::string trim(const std::string& text)
{
    size_t begin = text.find_first_not_of(" \t\r");
    if (begin == std::string::npos)
        return std::string();
    size_t end = text.find_last_not_of(" \t\r");
    return text.substr(begin, end - begin + 1);
}

std::string lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// "alias NAME = DIRECTORY" -> name and directory; false for anything else.
bool parseAlias(const std::string& line, std::string& name, std::string& directory)
{
    std::string text = trim(line);
    if (text.compare(0, 6, "alias ") != 0 && text.compare(0, 6, "alias\t") != 0)
        return false;
    size_t equals = text.find('=');
    if (equals == std::string::npos)
        return false;
    name = trim(text.substr(6, equals - 6));
    directory = trim(text.substr(equals + 1));
    return !name.empty() && !directory.empty() && name.find_first_of(" \t") == std::string::npos;
}

bool ignorable(const std::string& line)
{
    std::string text = trim(line);
    return text.empty() || text[0] == '#';
}

}  // namespace

std::string EngineConfig::configPath()
{
    std::string path = environment("ARSIPSTAF_ENGINE_CONFIG");
    if (!path.empty())
        return path;
    return userDirectory("XDG_CONFIG_HOME", "/.config") + "/engine.conf";
}

std::string EngineConfig::defaultDataDirectory()
{
    return userDirectory("XDG_DATA_HOME", "/.local/share") + "/data";
}

EngineStatus EngineConfig::load(const std::string& path)
{
    aliases_.clear();
    std::ifstream in(path);
    if (!in) {
        if (errno == ENOENT)
            return EngineStatus::success();
        return EngineStatus::failure(EngineCode::ConfigInvalid, "Cannot read the engine configuration.",
                                     {"File: " + path, std::strerror(errno)});
    }
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::string name, directory;
        if (parseAlias(line, name, directory))
            aliases_[lower(name)] = directory;
        else if (!ignorable(line))
            return EngineStatus::failure(EngineCode::ConfigInvalid, "Invalid line in the engine configuration.",
                                         {"File: " + path, "Line " + std::to_string(number) + ": " + line});
    }
    return EngineStatus::success();
}

EngineStatus EngineConfig::resolve(const std::string& alias, std::string& directory) const
{
    auto found = aliases_.find(lower(alias));
    if (found != aliases_.end()) {
        directory = found->second;
        return EngineStatus::success();
    }
    if (lower(alias) == defaultAlias) {
        directory = defaultDataDirectory();
        return EngineStatus::success();
    }
    return EngineStatus::failure(EngineCode::UnknownAlias, "Unknown database: " + alias + ".",
                                 {"Alias: " + alias, "Configuration: " + configPath()});
}

EngineStatus EngineConfig::writeAlias(const std::string& path, const std::string& alias, const std::string& directory)
{
    std::vector<std::string> lines;
    {
        std::ifstream in(path);
        std::string line, name, dir;
        while (std::getline(in, line))
            if (!parseAlias(line, name, dir) || lower(name) != lower(alias))
                lines.push_back(line);
    }
    lines.push_back("alias " + alias + " = " + directory);

    std::error_code error;
    std::filesystem::path file(path);
    if (file.has_parent_path())
        std::filesystem::create_directories(file.parent_path(), error);
    // Write beside and rename, so a reader never sees half a file.
    std::string temporary = path + ".new";
    ::unlink(temporary.c_str());
    PrivateFile::prepare(temporary);
    PrivateFile::takeModes(temporary, path);
    {
        std::ofstream out(temporary, std::ios::trunc);
        for (const std::string& line : lines)
            out << line << '\n';
        out.flush();
        if (!out)
            return EngineStatus::failure(EngineCode::IoError, "Cannot write the engine configuration.",
                                         {"File: " + path, std::strerror(errno)});
    }
    std::filesystem::rename(temporary, path, error);
    if (error)
        return EngineStatus::failure(EngineCode::IoError, "Cannot write the engine configuration.",
                                     {"File: " + path, error.message()});
    return EngineStatus::success();
}
