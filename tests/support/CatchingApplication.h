#pragma once
#include "TApplication.h"

#include <exception>
#include <string>
#include <vector>

// Errors that escape an event handler in a widget test. The test program's
// one application object (a TApplication, made by WidgetTestMain.h) still
// catches them in one place; instead of the error box they are recorded here
// through the application's error event, so a test can see that the error
// reached the application and was not swallowed. While a ModalBoxResponder
// exists, errors go to the error box again.
class CatchingApplication {
public:
    static CatchingApplication& instance()
    {
        static CatchingApplication catching;
        return catching;
    }

    // Returns and forgets the messages caught so far.
    std::vector<std::string> takeErrors()
    {
        std::vector<std::string> taken;
        taken.swap(errors);
        return taken;
    }

private:
    CatchingApplication()
    {
        TApplication::instance()->OnException = [this](const std::exception& error) {
            errors.emplace_back(error.what());
        };
    }

    std::vector<std::string> errors;
};
