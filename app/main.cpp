#include "ApplicationObjects.h"
#include "DataModuleStartup.h"
#include "TApplication.h"

#include <exception>

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    ApplicationObjects objects(openDataModule);
    try {
        objects.create();
    } catch (...) {
        // A table that cannot be opened ends the program before the login.
        app.HandleException(std::current_exception());
        return 1;
    }
    return app.Run();
}
