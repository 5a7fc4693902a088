#pragma once
#include "EngineStatus.h"

#include <map>
#include <string>

// The engine's own configuration: which directory each database alias names.
//
// The file is plain text, one setting a line, "#" starting a comment:
//     alias rekam_induk = /home/user/arsip/data
// It lives at $ARSIPSTAF_ENGINE_CONFIG when that is set, else at
// $XDG_CONFIG_HOME/arsipstaf/engine.conf (~/.config/... without it). The
// alias rekam_induk resolves to defaultDataDirectory() when the file does not
// name it. See docs/engine-config.md.
class EngineConfig {
public:
    static constexpr const char* defaultAlias = "rekam_induk";

    static std::string configPath();
    // $XDG_DATA_HOME/arsipstaf/data, else ~/.local/share/arsipstaf/data.
    static std::string defaultDataDirectory();

    // Reads the file at path; a missing file is an empty configuration.
    // ConfigInvalid names the line that cannot be read.
    EngineStatus load(const std::string& path);
    EngineStatus load() { return load(configPath()); }

    // The directory of an alias (letter case not significant), or UnknownAlias.
    EngineStatus resolve(const std::string& alias, std::string& directory) const;

    // Point alias at directory in the file at path, keeping its other lines.
    // The file (and its directory) is created when missing.
    static EngineStatus writeAlias(const std::string& path, const std::string& alias, const std::string& directory);
    static EngineStatus writeAlias(const std::string& alias, const std::string& directory)
    {
        return writeAlias(configPath(), alias, directory);
    }

    const std::map<std::string, std::string>& aliases() const { return aliases_; }

private:
    std::map<std::string, std::string> aliases_;  // lower-case alias -> directory
};
