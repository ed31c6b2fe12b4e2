#include "selector/direnum.h"

#ifdef _WIN32
#include <direct.h>
#include <windows.h>
#else
#include <dirent.h>
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
        // stat follows links, so a link to a directory is walked into like one.
        struct stat st;
        const bool isdir = stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
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

}  // namespace selector
