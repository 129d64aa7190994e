#pragma once

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>

#include "inventory/linux/common/unique_fd.h"

namespace quorvane::linux_inventory::testing {

// The full path of a system program, searched in the sbin and bin folders;
// empty when it is not installed.
std::string SystemTool(const std::string& name);

// Runs `work` on a thread that has entered the named network namespace
// (/run/netns/NAME); sockets it opens belong to that namespace. What work
// throws is thrown again here.
template <class Work>
auto InNetworkNamespace(const std::string& name, Work work) -> decltype(work()) {
    std::optional<decltype(work())> result;
    std::exception_ptr failure;
    std::thread thread([&] {
        try {
            const unique_fd ns(open(("/run/netns/" + name).c_str(), O_RDONLY | O_CLOEXEC));
            if (!ns) throw std::runtime_error("cannot open the namespace " + name);
            if (setns(ns.get(), CLONE_NEWNET) != 0) throw std::runtime_error("cannot enter the namespace " + name);
            result = work();
        } catch (...) {
            failure = std::current_exception();
        }
    });
    thread.join();
    if (failure) std::rethrow_exception(failure);
    return std::move(*result);
}

}  // namespace quorvane::linux_inventory::testing
