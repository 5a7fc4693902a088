#include "AdminTool.h"
#include "TemporaryPageFiles.h"
#include "TerminalPasswordPrompt.h"

#include <iostream>

int main(int argc, char** argv)
{
    // Page files of runs that were killed go; a terminated run takes its own.
    TemporaryPageFiles::removeLeftovers();
    TemporaryPageFiles::removeOnTermination();
    TerminalPasswordPrompt::install();
    return AdminTool::run(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
