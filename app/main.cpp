#include "DataModuleStartup.h"
#include "FontConfigurationAhead.h"
#include "Startup.h"
#include "TApplication.h"
#include "TemporaryPageFiles.h"

int main(int argc, char** argv)
{
    // The font configuration is read and the tables open beside the
    // starting of the application and the building of the windows.
    FontConfigurationAhead fonts;
    std::shared_ptr<TableFilesAhead> tables = openTablesAhead();
    // Page files of runs that were killed go; a terminated run takes its own.
    TemporaryPageFiles::removeLeftovers();
    TemporaryPageFiles::removeOnTermination();
    TApplication app(argc, argv);
    fonts.wait();
    return runProgram(app, openDataModule);
}
