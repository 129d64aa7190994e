#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::linux_inventory::testing {

// A helper program run for one test: killed and reaped when this object
// goes, and killed by the kernel should the test program itself die.
class ChildProcess {
public:
    // Starts argv[0] (a full path) with extra "NAME=VALUE" environment
    // entries; its standard output is kept readable through ReadLine.
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnvironment = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    [[nodiscard]] bool started() const noexcept { return pid_ > 0; }
    [[nodiscard]] pid_t pid() const noexcept { return pid_; }
    // One line of the child's standard output, without the line end;
    // nullopt at its end or after the timeout.
    std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);

private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::string pending_;
};

// Runs a command to its end, its output discarded, with extra "NAME=VALUE"
// environment entries; its exit status, or -1 when it could not run.
int RunCommand(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnvironment = {});

}  // namespace quorvane::linux_inventory::testing
