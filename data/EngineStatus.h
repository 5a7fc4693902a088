#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Status codes of the storage engine. Codes below 0x2200 end a movement and
// are not errors; everything else is raised by the dataset layer.
enum class EngineCode : std::uint16_t {
    Ok = 0x0000,
    BeginOfData = 0x2101,     // a move ran off the start
    EndOfData = 0x2102,       // a move ran off the end
    RecordNotFound = 0x2201,  // no record at the position or for the key
    RecordGone = 0x2202,      // the record was deleted (a delete of it is ignored)
    KeyViolation = 0x2601,
    RecordLocked = 0x2602,
    RecordChanged = 0x2603,
    RecordDeleted = 0x2604,
    NotLocked = 0x2605,
    UnknownAlias = 0x2701,
    DirectoryMissing = 0x2702,
    TableMissing = 0x2703,
    NotATable = 0x2704,
    TableCorrupt = 0x2705,
    Unreadable = 0x2706,
    ReadOnlyTable = 0x2707,
    ConfigInvalid = 0x2708,
    SchemaNewer = 0x2709,  // made by a later version of the program: never opened, never upgraded
    NoSuchIndex = 0x2801,
    NoSuchField = 0x2802,
    InvalidKey = 0x2803,
    InvalidText = 0x2804,  // a value that is not UTF-8 text of printable characters and tab
    IoError = 0x2901,
    NotStarted = 0x2A01,
    PasswordRequired = 0x2C01,  // the database server asks for a password the session lacks
    Internal = 0x2F01,
};

// What every engine operation returns: a code, the engine's text for it and
// a stack of further messages (innermost last). ok() for success.
struct [[nodiscard]] EngineStatus {
    EngineCode code = EngineCode::Ok;
    std::string message;
    std::vector<std::string> stack;

    bool ok() const { return code == EngineCode::Ok; }
    // Ran off either end: a movement result, not an error.
    bool endOfData() const { return code == EngineCode::BeginOfData || code == EngineCode::EndOfData; }

    static EngineStatus success() { return {}; }
    static EngineStatus failure(EngineCode code, std::string message, std::vector<std::string> stack = {})
    {
        return {code, std::move(message), std::move(stack)};
    }
};
