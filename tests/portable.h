// What the tests need from the operating system, the same on Linux and on
// Windows: environment defaults, scratch folders, the process id and the
// exit code of a program run through std::system.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <process.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace portable {

inline int processid()
{
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(::getpid());
#endif
}

// Sets an environment variable unless it has a value already.
inline void setenvdefault(const char* name, const char* value)
{
#ifdef _WIN32
    if (!std::getenv(name)) _putenv_s(name, value);
#else
    setenv(name, value, 0);
#endif
}

// Sets an environment variable, replacing any value it has.
inline void setenvalways(const char* name, const char* value)
{
#ifdef _WIN32
    _putenv_s(name, value);
#else
    setenv(name, value, 1);
#endif
}

// A new, empty folder under the system's temporary folder, named prefix
// and a part that no other folder there has (creating a folder fails when
// the name is taken, so a clash only costs another try).
inline std::filesystem::path makescratchdir(const std::string& prefix)
{
    static std::atomic<uint64_t> serial{0};
    const auto base = std::filesystem::temp_directory_path();
    uint64_t seed = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                    (static_cast<uint64_t>(processid()) << 40);
    for (int tries = 0; tries < 1000; ++tries) {
        seed = seed * 6364136223846793005u + 1442695040888963407u + serial++;
        const auto dir = base / (prefix + std::to_string(seed >> 24));
        std::error_code ec;
        if (std::filesystem::create_directory(dir, ec)) return std::filesystem::canonical(dir);
    }
    std::abort();
}

// The command line that std::system runs a program by: Windows' command
// interpreter reads '/' as the start of an option.
inline std::string commandpath(std::string path)
{
#ifdef _WIN32
    for (char& c : path)
        if (c == '/') c = '\\';
#endif
    return path;
}

// The exit code of a program that std::system ran, or -1 when it did not
// end by itself.
inline int exitcode(int status)
{
#ifdef _WIN32
    return status;
#else
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

// Text as a program wrote it to a file, with Windows' CRLF line ends read
// back as LF.
inline std::string unixlines(std::string text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

}  // namespace portable
