#include "Startup.h"

#include "TApplication.h"

#include <exception>

int runProgram(TApplication& app, ApplicationObjects::DataModuleFactory openDataModule)
{
    ApplicationObjects objects(std::move(openDataModule));
    try {
        objects.create();
    } catch (...) {
        app.HandleException(std::current_exception());
        return 1;
    }
    return app.Run();
}
