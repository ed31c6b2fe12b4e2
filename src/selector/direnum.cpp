#include "selector/direnum.h"

#ifdef _WIN32
#include <direct.h>
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <vector>

namespace selector {

namespace {

// Names longer than this never reach the list.
constexpr size_t maxnamelength = 255;

void addparentifmissing(std::vector<direntry>& entries)
{
    if (entries.empty()) return;
    for (const auto& e : entries)
        if (e.name == "..") return;
    entries.push_back({"..", true});
}

}  // namespace

#ifdef _WIN32

std::vector<direntry> enumeratedir()
{
    std::vector<direntry> entries;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA("*", &fd);
    if (h == INVALID_HANDLE_VALUE) return entries;
    do {
        std::string name = fd.cFileName;
        if (name.size() > maxnamelength) continue;
        entries.push_back({name, (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    addparentifmissing(entries);
    return entries;
}

#else

std::vector<direntry> enumeratedir()
{
    std::vector<direntry> entries;
    DIR* d = opendir(".");
    if (!d) return entries;
    while (const dirent* de = readdir(d)) {
        std::string name = de->d_name;
        if (name.size() > maxnamelength) continue;
        bool isdir = false;
#ifdef _DIRENT_HAVE_D_TYPE
        // The entry's own type spares a stat per file in a large folder.
        if (de->d_type != DT_UNKNOWN && de->d_type != DT_LNK) {
            isdir = de->d_type == DT_DIR;
        } else
#endif
        {
            // stat follows links, so a link to a directory is walked into like one.
            struct stat st;
            isdir = stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        entries.push_back({std::move(name), isdir});
    }
    closedir(d);
    addparentifmissing(entries);
    return entries;
}

#endif

bool getworkdir(std::string& path)
{
    std::vector<char> buf(4096);
    for (;;) {
#ifdef _WIN32
        if (_getcwd(buf.data(), static_cast<int>(buf.size()))) break;
#else
        if (getcwd(buf.data(), buf.size())) break;
#endif
        if (errno != ERANGE || buf.size() >= (1u << 20)) return false;
        buf.resize(buf.size() * 2);
    }
    path = buf.data();
    return true;
}

bool setworkdir(const std::string& path)
{
#ifdef _WIN32
    return _chdir(path.c_str()) == 0;
#else
    return chdir(path.c_str()) == 0;
#endif
}

#ifdef _WIN32

bool holdworkdir()
{
    return false;
}

bool returntoheldworkdir(const std::string& path)
{
    return setworkdir(path);
}

#else

namespace {
int heldworkdir = -1;
}  // namespace

bool holdworkdir()
{
    if (heldworkdir >= 0) close(heldworkdir);
#ifdef O_PATH
    // A handle that needs no read permission on the directory.
    heldworkdir = open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
#else
    heldworkdir = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
#endif
    return heldworkdir >= 0;
}

bool returntoheldworkdir(const std::string& path)
{
    if (heldworkdir < 0) return setworkdir(path);
    // A removed directory can still be entered through its handle, but it is
    // no longer a place in the file system.
    struct stat st;
    if (fchdir(heldworkdir) != 0 || fstat(heldworkdir, &st) != 0) return false;
    if (st.st_nlink > 0) return true;
    errno = ENOENT;
    return false;
}

#endif

}  // namespace selector
