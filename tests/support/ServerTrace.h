#pragma once
// The protocol messages of one server session, recorded by libpq's trace
// while the object lives (or until stop()), read back as the statements the
// client ran and the round trips it waited for: every turn from sending to
// reading is one wait for the server.
//
//     ServerTrace trace(connection.handle());
//     cursor.findKey(...);
//     trace.stop();
//     EXPECT_EQ(trace.roundTrips(), 1) << trace.text();
#include <libpq-fe.h>

#include <cstdio>
#include <sstream>
#include <string>

class ServerTrace {
public:
    explicit ServerTrace(PGconn* conn) : conn_(conn), file_(std::tmpfile())
    {
        PQtrace(conn_, file_);
        PQsetTraceFlags(conn_, PQTRACE_SUPPRESS_TIMESTAMPS);
    }
    ServerTrace(const ServerTrace&) = delete;
    ServerTrace& operator=(const ServerTrace&) = delete;
    ~ServerTrace()
    {
        stop();
        std::fclose(file_);
    }

    void stop()
    {
        if (stopped_)
            return;
        stopped_ = true;
        PQuntrace(conn_);
        std::fflush(file_);
        std::rewind(file_);
        char buffer[4096];
        for (size_t read; (read = std::fread(buffer, 1, sizeof buffer, file_)) > 0;)
            text_.append(buffer, read);
    }

    // Statements sent: extended-protocol executions and simple queries.
    int statements() const
    {
        return count([](const std::string& line) {
            return line.rfind("F\t", 0) == 0 && (has(line, "\tExecute") || has(line, "\tQuery"));
        });
    }

    int roundTrips() const
    {
        int turns = 0;
        bool sending = false;
        std::istringstream lines(text_);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("F\t", 0) == 0)
                sending = true;
            else if (line.rfind("B\t", 0) == 0 && sending) {
                ++turns;
                sending = false;
            }
        }
        return turns;
    }

    const std::string& text() const { return text_; }

private:
    static bool has(const std::string& line, const char* word) { return line.find(word) != std::string::npos; }

    template <typename Test>
    int count(Test test) const
    {
        int found = 0;
        std::istringstream lines(text_);
        for (std::string line; std::getline(lines, line);)
            found += test(line) ? 1 : 0;
        return found;
    }

    PGconn* conn_;
    FILE* file_;
    bool stopped_ = false;
    std::string text_;
};
