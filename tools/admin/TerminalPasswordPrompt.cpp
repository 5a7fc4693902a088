#include "TerminalPasswordPrompt.h"

#include "StorageEngine.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The settings to put back if the run is interrupted at the prompt.
int echoFd = -1;
termios echoSettings{};

void restoreAndRaise(int signal)
{
    if (echoFd >= 0)
        tcsetattr(echoFd, TCSANOW, &echoSettings);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void say(int fd, const char* text)
{
    for (size_t left = std::strlen(text); left > 0;) {
        ssize_t written = ::write(fd, text, left);
        if (written <= 0)
            return;
        text += written;
        left -= static_cast<size_t>(written);
    }
}

}  // namespace

bool TerminalPasswordPrompt::ask(int fd, std::string& password)
{
    termios settings{};
    if (!isatty(fd) || tcgetattr(fd, &settings) != 0)
        return false;
    say(fd, "Password for the database server: ");
    echoFd = fd;
    echoSettings = settings;
    auto previousInt = std::signal(SIGINT, restoreAndRaise);
    auto previousTerm = std::signal(SIGTERM, restoreAndRaise);
    termios quiet = settings;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    quiet.c_lflag |= ECHONL;  // the Enter still moves to a new line
    tcsetattr(fd, TCSAFLUSH, &quiet);
    password.clear();
    char c = 0;
    ssize_t got = 0;
    while ((got = ::read(fd, &c, 1)) == 1 && c != '\n')
        password += c;
    tcsetattr(fd, TCSAFLUSH, &settings);
    std::signal(SIGINT, previousInt);
    std::signal(SIGTERM, previousTerm);
    echoFd = -1;
    return got == 1 && !password.empty();
}

void TerminalPasswordPrompt::install(const std::string& terminal)
{
    std::string path = terminal.empty() ? "/dev/tty" : terminal;
    StorageEngine::defaultSession().setPasswordPrompt([path, asked = 0](PasswordList& passwords) mutable {
        if (asked >= attempts)
            return false;
        ++asked;
        int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            return false;
        std::string password;
        bool given = ask(fd, password);
        ::close(fd);
        if (given)
            passwords.add(password);
        return given;
    });
}
