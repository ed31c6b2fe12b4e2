// Runs work that must finish in linear time in a child process, and reports
// whether it returned true within a limit far above what that work needs; a
// child still running then (quadratic work, a hang) is killed.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

#ifdef _WIN32

#include <future>

// Without fork the work runs on a thread of its own; one that overruns is
// left behind, and the test fails.
inline bool finisheswithin(const std::function<bool()>& fn, std::chrono::seconds limit)
{
    auto task = std::make_shared<std::packaged_task<bool()>>(fn);
    std::future<bool> result = task->get_future();
    std::thread([task] { (*task)(); }).detach();
    return result.wait_for(limit) == std::future_status::ready && result.get();
}

#else

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

inline bool finisheswithin(const std::function<bool()>& fn, std::chrono::seconds limit)
{
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) _exit(fn() ? 0 : 1);
    const auto start = std::chrono::steady_clock::now();
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() - start > limit) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

#endif
