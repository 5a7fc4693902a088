#pragma once
#include "PasswordList.h"

#include <string>

// Asks for a database server's password on the terminal, as psql-like tools
// do: on the controlling terminal (so a script on standard input still gets
// asked), the typing not shown, the password kept in the session's list
// only (never on the command line, never written). Without a terminal
// nobody is asked and the open fails as it would.
class TerminalPasswordPrompt {
public:
    // Makes the default session ask on terminal ("/dev/tty" when empty) at
    // most three times in a run.
    static void install(const std::string& terminal = std::string());

    // Writes the prompt to the terminal open at fd and reads one line with
    // echo off, restoring the terminal's settings afterwards. False when
    // fd is no terminal, at end of input or on an empty line.
    static bool ask(int fd, std::string& password);

    static constexpr int attempts = 3;
};
