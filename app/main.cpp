#include "DataModuleStartup.h"
#include "Startup.h"
#include "TApplication.h"
#include "TemporaryPageFiles.h"

int main(int argc, char** argv)
{
    // Page files of runs that were killed go; a terminated run takes its own.
    TemporaryPageFiles::removeLeftovers();
    TemporaryPageFiles::removeOnTermination();
    TApplication app(argc, argv);
    return runProgram(app, openDataModule);
}
