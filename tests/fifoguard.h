// Runs code that might block opening a FIFO for reading. When it has not
// returned after the given time, the FIFO is opened for writing and closed
// again, which releases the reader with an empty file, and the run counts as
// hung; so a fault shows as a failed test, not as a test that never ends.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32

#include <filesystem>

// Windows has no FIFOs: a folder stands in for the file that is not a
// regular one, and nothing can hang.
inline bool hungonfifos(const std::vector<std::string>& fifos, const std::function<void()>& fn,
                        std::chrono::milliseconds = std::chrono::milliseconds(3000))
{
    for (const auto& f : fifos)
        if (!std::filesystem::create_directory(f)) return true;
    fn();
    return false;
}

#else

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Makes the FIFOs, runs fn and reports whether it hung on any of them.
inline bool hungonfifos(const std::vector<std::string>& fifos, const std::function<void()>& fn,
                        std::chrono::milliseconds limit = std::chrono::milliseconds(3000))
{
    for (const auto& f : fifos)
        if (mkfifo(f.c_str(), 0600) != 0) return true;
    std::atomic<bool> done{false};
    std::thread runner([&] {
        fn();
        done = true;
    });
    const auto start = std::chrono::steady_clock::now();
    while (!done && std::chrono::steady_clock::now() - start < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const bool hung = !done;
    while (!done) {
        // Succeeds only while a reader waits in its open.
        for (const auto& f : fifos) {
            const int fd = open(f.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) close(fd);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    runner.join();
    return hung;
}

#endif
