#include "common/files.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#include <process.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef _WIN32

// No FIFOs to wait on here; the type is checked before the open.
std::FILE* fopenregular(const std::string& name, const char* mode)
{
    struct _stat st;
    if (_stat(name.c_str(), &st) != 0) return mode[0] == 'w' ? std::fopen(name.c_str(), mode) : nullptr;
    if ((st.st_mode & _S_IFMT) != _S_IFREG) {
        errno = EINVAL;
        return nullptr;
    }
    return std::fopen(name.c_str(), mode);
}

bool replacefile(const std::string& from, const std::string& name)
{
    if (MoveFileExA(from.c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    errno = EACCES;
    return false;
}

static int processid()
{
    return _getpid();
}

static std::FILE* createnew(const std::string& name)
{
    struct _stat st;
    if (_stat(name.c_str(), &st) == 0) {
        errno = EEXIST;
        return nullptr;
    }
    return std::fopen(name.c_str(), "wb");
}

#else

// The type is checked on the opened descriptor, so the file cannot be
// swapped in between; O_NONBLOCK keeps the open of a FIFO from waiting.
std::FILE* fopenregular(const std::string& name, const char* mode)
{
    int access = std::strchr(mode, '+') ? O_RDWR : O_RDONLY;
    if (mode[0] == 'w') access = O_WRONLY | O_CREAT | O_TRUNC;
    const int fd = open(name.c_str(), access | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        errno = EINVAL;
        return nullptr;
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        close(fd);
        return nullptr;
    }
    std::FILE* f = fdopen(fd, mode);
    if (!f) close(fd);
    return f;
}

bool replacefile(const std::string& from, const std::string& name)
{
    return std::rename(from.c_str(), name.c_str()) == 0;
}

static int processid()
{
    return static_cast<int>(getpid());
}

// The file mode follows the user's umask, as for any file created with fopen.
static std::FILE* createnew(const std::string& name)
{
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    std::FILE* f = fdopen(fd, "wb");
    if (!f) close(fd);
    return f;
}

#endif

std::FILE* createbeside(const std::string& name, std::string& tempname)
{
    // The process id and a counter make a clash unlikely; one that still
    // happens (a leftover of a killed run) is stepped over.
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempname = name + ".part" + std::to_string(processid()) + "-" + std::to_string(counter++);
        if (std::FILE* f = createnew(tempname)) return f;
        if (errno != EEXIST) return nullptr;
    }
    return nullptr;
}

bool readwholefile(const std::filesystem::path& file, uintmax_t limit, std::string& out)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return false;
    const uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec || size > limit) return false;
    std::FILE* f = fopenregular(file.string(), "rb");
    if (!f) return false;
    out.resize(static_cast<size_t>(size));
    const bool ok = out.empty() || std::fread(out.data(), 1, out.size(), f) == out.size();
    std::fclose(f);
    return ok;
}
