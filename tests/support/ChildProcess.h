#pragma once
// A forked child process for tests that need a second, real process (locks
// across processes, a process killed while writing). The child runs body
// with a line channel to the parent and ends with _exit, so it never returns
// into the test framework. Fork before the parent opens tables, so that the
// child starts with no inherited engine state.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

class ChildProcess {
public:
    // Lines to and from the parent; receive() returns "" at end of input.
    class Channel {
    public:
        Channel(int in, int out) : in_(in), out_(out) {}
        void send(const std::string& line)
        {
            std::string text = line + "\n";
            for (size_t done = 0; done < text.size();) {
                ssize_t n = ::write(out_, text.data() + done, text.size() - done);
                if (n <= 0)
                    return;
                done += static_cast<size_t>(n);
            }
        }
        // Waits up to timeoutMs for a whole line; "" at end of input or timeout.
        std::string receive(int timeoutMs = 10000)
        {
            for (;;) {
                size_t end = buffer_.find('\n');
                if (end != std::string::npos) {
                    std::string line = buffer_.substr(0, end);
                    buffer_.erase(0, end + 1);
                    return line;
                }
                pollfd ready{in_, POLLIN, 0};
                if (::poll(&ready, 1, timeoutMs) <= 0)
                    return std::string();
                char chunk[4096];
                ssize_t n = ::read(in_, chunk, sizeof chunk);
                if (n <= 0)
                    return std::string();
                buffer_.append(chunk, static_cast<size_t>(n));
            }
        }

    private:
        int in_, out_;
        std::string buffer_;
    };

    explicit ChildProcess(const std::function<void(Channel&)>& body)
    {
        int down[2], up[2];
        if (::pipe(down) != 0 || ::pipe(up) != 0)
            throw std::runtime_error("pipe failed");
        pid_ = ::fork();
        if (pid_ < 0)
            throw std::runtime_error("fork failed");
        if (pid_ == 0) {
            ::close(down[1]);
            ::close(up[0]);
            Channel channel(down[0], up[1]);
            body(channel);
            ::_exit(0);
        }
        ::close(down[0]);
        ::close(up[1]);
        toChild_ = down[1];
        fromChild_ = up[0];
        channel_ = std::make_unique<Channel>(fromChild_, toChild_);
    }

    ~ChildProcess()
    {
        kill();
        ::close(toChild_);
        ::close(fromChild_);
    }

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    Channel& channel() { return *channel_; }
    // Sends a command and returns the child's one-line answer.
    std::string ask(const std::string& line)
    {
        channel_->send(line);
        return channel_->receive();
    }
    // SIGKILL and reap; nothing when it has already ended.
    void kill()
    {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    // Sends signal and reaps the child; returns its wait status.
    int stop(int signal)
    {
        int status = 0;
        ::kill(pid_, signal);
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }

private:
    pid_t pid_ = -1;
    int toChild_ = -1, fromChild_ = -1;
    std::unique_ptr<Channel> channel_;
};
