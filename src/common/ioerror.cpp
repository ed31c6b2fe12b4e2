#include "common/ioerror.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

void ioerror(const std::string& what)
{
    const int err = errno;
    std::printf("?I/O ERROR: %s: %s\n", what.c_str(), err ? std::strerror(err) : "failed");
    std::fflush(stdout);
    std::exit(2);
}
