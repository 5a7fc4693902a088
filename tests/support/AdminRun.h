#pragma once
// Runs one admin command in-process and keeps what it wrote.
#include "AdminTool.h"

#include <sstream>
#include <string>
#include <vector>

struct AdminRun {
    int code;
    std::string out, err;
};

inline AdminRun admin(std::vector<std::string> args)
{
    std::ostringstream out, err;
    int code = AdminTool::run(args, out, err);
    return {code, out.str(), err.str()};
}
