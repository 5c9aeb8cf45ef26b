#pragma once

// Runs net_demo processes on loopback and reads their lines as they come.
// Every process is bounded by its own --timeout and killed by the fixture
// when a test ends early; every wait here has a limit.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace NetDemoTest
{

using Clock = std::chrono::steady_clock;

inline double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A port the system just gave out for `type` on 127.0.0.1 (free when
// looked at; the system hands out ports in turn, so parallel tests differ).
inline std::uint16_t FreePort(int type)
{
    const int handle = socket(AF_INET, type, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    std::uint16_t port = 0;
    if (handle >= 0 && bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(handle, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    {
        port = ntohs(address.sin_port);
    }
    if (handle >= 0)
    {
        close(handle);
    }
    return port;
}

struct Line
{
    std::string text;
    Clock::time_point when; // when the test read it
};

class Process
{
public:
    Process(const std::string& program, const std::vector<std::string>& arguments)
    {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0)
        {
            return;
        }
        pid_ = fork();
        if (pid_ == 0)
        {
            dup2(pipeEnds[1], STDOUT_FILENO);
            close(pipeEnds[0]);
            close(pipeEnds[1]);
            setenv("ENGINE_NET_LOCAL_ADDRESS", "127.0.0.1", 1);
            setenv("ENGINE_HEADLESS", "1", 1);
            setenv("ALSOFT_DRIVERS", "null", 1);
            std::vector<char*> argv;
            argv.push_back(const_cast<char*>(program.c_str()));
            for (const std::string& argument : arguments)
            {
                argv.push_back(const_cast<char*>(argument.c_str()));
            }
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        close(pipeEnds[1]);
        fd_ = pipeEnds[0];
        fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) | O_NONBLOCK);
    }

    ~Process()
    {
        if (pid_ > 0 && !exited_)
        {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (fd_ >= 0)
        {
            close(fd_);
        }
    }

    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Waits at most `limitMs` for a line for which `match` holds (lines
    // already read count); the line, or null. The pointer is good until
    // this process's lines are read again. The processes in `alongside`
    // are read meanwhile: a process whose output pipe fills stops at its
    // next line until somebody reads it.
    const Line* WaitFor(const std::function<bool(const std::string&)>& match, double limitMs,
                        const std::vector<Process*>& alongside = {})
    {
        const Clock::time_point start = Clock::now();
        std::size_t checked = 0;
        for (;;)
        {
            for (; checked < lines_.size(); ++checked)
            {
                if (match(lines_[checked].text))
                {
                    return &lines_[checked];
                }
            }
            for (Process* other : alongside)
            {
                other->Drain(0.0);
            }
            double left = limitMs - MillisecondsSince(start);
            if (!alongside.empty())
            {
                left = std::min(left, 20.0);
            }
            if (left <= 0.0 || !ReadSome(left))
            {
                for (; checked < lines_.size(); ++checked)
                {
                    if (match(lines_[checked].text))
                    {
                        return &lines_[checked];
                    }
                }
                return nullptr;
            }
        }
    }

    const Line* WaitForPrefix(const std::string& prefix, double limitMs)
    {
        return WaitFor([&](const std::string& text) { return text.rfind(prefix, 0) == 0; }, limitMs);
    }

    const Line* WaitForLine(const std::string& line, double limitMs, const std::vector<Process*>& alongside = {})
    {
        return WaitFor([&](const std::string& text) { return text == line; }, limitMs, alongside);
    }

    // Reads what has come without waiting for more than `ms`.
    void Drain(double ms = 0.0)
    {
        const Clock::time_point start = Clock::now();
        while (ReadSome(std::max(0.0, ms - MillisecondsSince(start))) && MillisecondsSince(start) < ms)
        {
        }
    }

    bool Has(const std::string& line) const
    {
        for (const Line& l : lines_)
        {
            if (l.text == line)
            {
                return true;
            }
        }
        return false;
    }

    bool HasPrefix(const std::string& prefix) const
    {
        for (const Line& l : lines_)
        {
            if (l.text.rfind(prefix, 0) == 0)
            {
                return true;
            }
        }
        return false;
    }

    void Signal(int signal) const
    {
        if (pid_ > 0 && !exited_)
        {
            kill(pid_, signal);
        }
    }

    // Waits for the process to end (at most `limitMs`); its exit status, or
    // -1 when it had to be killed.
    int Wait(double limitMs)
    {
        const Clock::time_point start = Clock::now();
        while (!exited_ && MillisecondsSince(start) < limitMs)
        {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_)
            {
                exited_ = true;
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
                break;
            }
            ReadSome(10.0);
        }
        if (!exited_)
        {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            exited_ = true;
            status_ = -1;
        }
        Drain(0.0);
        return status_;
    }

    const std::vector<Line>& GetLines() const { return lines_; }
    std::string Transcript() const
    {
        std::string all;
        for (const Line& l : lines_)
        {
            all += l.text + "\n";
        }
        return all;
    }

private:
    // False once the pipe is closed and nothing more will come.
    bool ReadSome(double waitMs)
    {
        if (fd_ < 0)
        {
            return false;
        }
        pollfd watch{fd_, POLLIN, 0};
        if (poll(&watch, 1, static_cast<int>(waitMs) + 1) <= 0)
        {
            return !closed_;
        }
        char bytes[4096];
        const ssize_t count = read(fd_, bytes, sizeof bytes);
        if (count == 0)
        {
            closed_ = true;
            return false;
        }
        for (ssize_t i = 0; i < count; ++i)
        {
            if (bytes[i] == '\n')
            {
                lines_.push_back({partial_, Clock::now()});
                partial_.clear();
            }
            else
            {
                partial_ += bytes[i];
            }
        }
        return true;
    }

    pid_t pid_ = -1;
    int fd_ = -1;
    bool exited_ = false;
    bool closed_ = false;
    int status_ = -1;
    std::string partial_;
    std::vector<Line> lines_;
};

// A fixture for net_demo runs: skipped without a display; each test
// announces its sessions on a port of its own, and every run ends by
// itself after `timeoutSeconds`.
class DemoFixture : public ::testing::Test
{
protected:
    explicit DemoFixture(std::string timeoutSeconds) : timeoutSeconds_(std::move(timeoutSeconds)) {}

    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
        {
            GTEST_SKIP() << "no display";
        }
        discovery = std::to_string(FreePort(SOCK_DGRAM));
    }

    std::unique_ptr<Process> Run(std::vector<std::string> arguments) const
    {
        arguments.insert(arguments.end(), {"--discovery", discovery, "--timeout", timeoutSeconds_});
        return std::make_unique<Process>(NET_DEMO_PATH, arguments);
    }

    std::string discovery;

private:
    std::string timeoutSeconds_;
};

} // namespace NetDemoTest
