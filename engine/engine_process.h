// The engine as a child process spoken to in lines over pipes, waited on with a timeout. The
// command line uses it; the program's windows use their own asynchronous process.
#pragma once

#include <string>
#include <sys/types.h>

namespace tandemora {

class EngineProcess {
public:
    EngineProcess() = default;
    // Ends the engine: its input is closed, and it is killed if it has not exited shortly after.
    ~EngineProcess();
    EngineProcess(const EngineProcess&) = delete;
    EngineProcess& operator=(const EngineProcess&) = delete;

    // Starts the program at `path`; false with the reason in `error` when it is missing, not
    // executable or cannot be started. Writing to an engine that has gone then fails instead
    // of ending this program: SIGPIPE is ignored from here on.
    bool start(const std::string& path, std::string& error);
    bool running() const { return pid_ > 0; }

    bool writeLine(const std::string& line);

    enum class Read { kLine, kTimeout, kClosed };
    // The next line from the engine without its line end, waiting up to `timeoutMs`.
    Read readLine(std::string& line, int timeoutMs);

private:
    void finish();

    pid_t pid_ = -1;
    int toEngine_ = -1;
    int fromEngine_ = -1;
    std::string buffer_;  // read but not yet taken
};

}  // namespace tandemora
