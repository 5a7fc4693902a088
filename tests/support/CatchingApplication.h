#pragma once
#include <QApplication>

#include <exception>
#include <string>
#include <vector>

// The application of widget tests. Like the program's own, it catches an
// error that escapes an event handler in one place; instead of showing the
// error box it records the message, so a test can see that the error
// reached the application and was not swallowed.
class CatchingApplication : public QApplication {
public:
    // The one application of the test program, created on first use (not
    // at start-up: listing the tests must not need a display). Offscreen
    // unless the environment names another platform.
    static CatchingApplication& instance()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "arsipstaf-tests";
        static char* argv[] = {name, nullptr};
        static CatchingApplication* app = new CatchingApplication(argc, argv);
        return *app;
    }

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            errors.emplace_back(error.what());
        }
        return false;
    }

    // Returns and forgets the messages caught so far.
    std::vector<std::string> takeErrors()
    {
        std::vector<std::string> taken;
        taken.swap(errors);
        return taken;
    }

private:
    CatchingApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    std::vector<std::string> errors;
};
