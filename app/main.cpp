#include "DataModuleStartup.h"
#include "Startup.h"
#include "TApplication.h"

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    return runProgram(app, openDataModule);
}
