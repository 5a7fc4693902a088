// The admin tool asks for a server password on a terminal, without showing
// what is typed; the clerk's role here has a password the alias lacks.
#include "TerminalPasswordPrompt.h"
#include "AdminRun.h"
#include "BothEngines.h"
#include "ClerkRole.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

// A pseudo-terminal: the test types at the master end, the prompt reads
// the other.
class Terminal {
public:
    Terminal() : master_(posix_openpt(O_RDWR | O_NOCTTY))
    {
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
            throw std::runtime_error("no pseudo-terminal");
        name_ = ptsname(master_);
        // Held open so what the prompt leaves stays readable.
        slave_ = ::open(name_.c_str(), O_RDWR | O_NOCTTY);
    }
    ~Terminal()
    {
        ::close(slave_);
        ::close(master_);
    }
    const std::string& name() const { return name_; }

    bool echoing() const
    {
        termios settings{};
        tcgetattr(master_, &settings);
        return (settings.c_lflag & ECHO) != 0;
    }
    // Types each line once the prompt has turned the echo off for it.
    void typeWhenAsked(const std::vector<std::string>& lines)
    {
        for (const std::string& line : lines) {
            waitFor(false);
            std::string keys = line + "\n";
            ASSERT_EQ(::write(master_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
            waitFor(true);
        }
    }
    // Everything shown on the terminal so far.
    std::string screen()
    {
        std::string shown;
        int flags = fcntl(master_, F_GETFL);
        fcntl(master_, F_SETFL, flags | O_NONBLOCK);
        char buffer[512];
        for (ssize_t got; (got = ::read(master_, buffer, sizeof buffer)) > 0;)
            shown.append(buffer, static_cast<size_t>(got));
        fcntl(master_, F_SETFL, flags);
        return shown;
    }

private:
    void waitFor(bool echo) const
    {
        for (int i = 0; i < 1000 && echoing() != echo; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

    int master_ = -1;
    int slave_ = -1;
    std::string name_;
};

TEST(TerminalPasswordPrompt, AsksUntilAPasswordIsAcceptedAndNeverShowsIt)
{
    TempDatabase db{TempDatabase::Tables::Default, TestEngine::Server};
    SKIP_WITHOUT_TEST_SERVER(db);
    ClerkRole clerk(db, "kunci rahasia");
    Terminal terminal;
    TerminalPasswordPrompt::install(terminal.name());
    std::thread typist([&] { terminal.typeWhenAsked({"salah sekali", "kunci rahasia"}); });
    AdminRun run = admin({"check"});
    typist.join();
    EXPECT_EQ(run.code, 0) << run.err;
    std::string shown = terminal.screen();
    EXPECT_EQ(shown, "Password for the database server: \r\nPassword for the database server: \r\n");
    EXPECT_TRUE(terminal.echoing());

    // Three refusals end the asking with the server's refusal.
    StorageEngine::defaultSession().passwords().clear();
    TerminalPasswordPrompt::install(terminal.name());
    std::thread guesser([&] { terminal.typeWhenAsked({"a", "b", "c"}); });
    run = admin({"check"});
    guesser.join();
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("No password given was accepted."), std::string::npos) << run.err;
    StorageEngine::defaultSession().setPasswordPrompt(nullptr);
}

TEST(TerminalPasswordPrompt, AnEmptyLineOrNoTerminalGivesUp)
{
    Terminal terminal;
    int fd = ::open(terminal.name().c_str(), O_RDWR | O_NOCTTY);
    std::thread typist([&] { terminal.typeWhenAsked({""}); });
    std::string password = "unchanged";
    EXPECT_FALSE(TerminalPasswordPrompt::ask(fd, password));
    typist.join();
    ::close(fd);
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    EXPECT_FALSE(TerminalPasswordPrompt::ask(pipeEnds[0], password));
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
}

}  // namespace
