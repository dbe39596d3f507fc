#include "engine/engine_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tandemora {

namespace {

void closeQuietly(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

bool makePipe(int (&fds)[2]) { return ::pipe2(fds, O_CLOEXEC) == 0; }

// Waits for the child for up to `ms`; true when it has been reaped.
bool reapWithin(pid_t pid, int ms) {
    for (int waited = 0;; waited += 10) {
        const pid_t done = ::waitpid(pid, nullptr, WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR)) return true;
        if (waited >= ms) return false;
        ::usleep(10000);
    }
}

}  // namespace

EngineProcess::~EngineProcess() { finish(); }

void EngineProcess::finish() {
    closeQuietly(toEngine_);
    closeQuietly(fromEngine_);
    if (pid_ > 0 && !reapWithin(pid_, 500)) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
    buffer_.clear();
}

bool EngineProcess::start(const std::string& path, std::string& error) {
    finish();
    if (::access(path.c_str(), X_OK) != 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    std::signal(SIGPIPE, SIG_IGN);
    int in[2] = {-1, -1}, out[2] = {-1, -1}, failure[2] = {-1, -1};
    if (!makePipe(in) || !makePipe(out) || !makePipe(failure)) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        for (int fd : {in[0], in[1], out[0], out[1], failure[0], failure[1]})
            if (fd >= 0) ::close(fd);
        return false;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        // The child: the pipes become its standard input and output; the failure pipe closes
        // by itself when exec succeeds, or carries errno when it does not.
        ::dup2(in[0], STDIN_FILENO);
        ::dup2(out[1], STDOUT_FILENO);
        const char* argv[] = {path.c_str(), nullptr};
        ::execv(path.c_str(), const_cast<char* const*>(argv));
        const int code = errno;
        [[maybe_unused]] auto written = ::write(failure[1], &code, sizeof code);
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(failure[1]);
    if (pid < 0) {
        error = std::string("cannot start ") + path + ": " + std::strerror(errno);
        for (int fd : {in[1], out[0], failure[0]}) ::close(fd);
        return false;
    }
    int code = 0;
    ssize_t got;
    while ((got = ::read(failure[0], &code, sizeof code)) < 0 && errno == EINTR) {}
    ::close(failure[0]);
    pid_ = pid;
    toEngine_ = in[1];
    fromEngine_ = out[0];
    if (got == static_cast<ssize_t>(sizeof code)) {
        finish();
        error = std::string("cannot start ") + path + ": " + std::strerror(code);
        return false;
    }
    return true;
}

bool EngineProcess::writeLine(const std::string& line) {
    if (toEngine_ < 0) return false;
    const std::string text = line + '\n';
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(toEngine_, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

EngineProcess::Read EngineProcess::readLine(std::string& line, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const size_t end = buffer_.find('\n');
        if (end != std::string::npos) {
            line.assign(buffer_, 0, end);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            buffer_.erase(0, end + 1);
            return Read::kLine;
        }
        if (fromEngine_ < 0) return Read::kClosed;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return Read::kTimeout;
        pollfd watched{fromEngine_, POLLIN, 0};
        const int ready = ::poll(&watched, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) return Read::kTimeout;
        char chunk[4096];
        const ssize_t n = ready < 0 ? -1 : ::read(fromEngine_, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            closeQuietly(fromEngine_);
            continue;  // a last line without its line end is dropped with the pipe
        }
        buffer_.append(chunk, static_cast<size_t>(n));
    }
}

}  // namespace tandemora
