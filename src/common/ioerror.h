// File operations that the program does not check itself end the program
// with an input/output error report on standard output.
#pragma once

#include <string>

// Prints "?I/O ERROR: <what>: <system reason>" and exits with code 2.
[[noreturn]] void ioerror(const std::string& what);
