#pragma once
#include <vector>

#include "AdminCommand.h"

// The commands of arsipstaf-admin, in the order the help lists them. A new
// command is one declare function and one entry in AdminCommands.cpp.
namespace AdminCommands {
const std::vector<AdminCommand>& all();
}  // namespace AdminCommands
