// ahxmake: turns a module description into an AHX module.
//
//   ahxmake INPUT.ahxt OUTPUT.ahx [MORE_OUTPUTS.ahx ...]
//
// Every output gets the same bytes. Errors go to standard error as
// "INPUT:LINE: message" and the exit code is 1; no output is written then.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "ahxparse.h"
#include "ahxwrite.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: ahxmake INPUT.ahxt OUTPUT.ahx [MORE_OUTPUTS.ahx ...]\n";
        return 2;
    }
    const std::string input = argv[1];
    std::ifstream in(input, std::ios::binary);
    if (!in) {
        std::cerr << input << ": cannot be read\n";
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();

    ahxmake::moduledesc m;
    ahxmake::parseerror err;
    if (!ahxmake::parsedescription(text.str(), m, err)) {
        std::cerr << input;
        if (err.line > 0)
            std::cerr << ":" << err.line;
        std::cerr << ": " << err.message << "\n";
        return 1;
    }
    std::vector<uint8_t> bytes;
    std::string why;
    if (!ahxmake::writemodule(m, bytes, why)) {
        std::cerr << input << ": " << why << "\n";
        return 1;
    }
    for (int a = 2; a < argc; a++) {
        std::ofstream out(argv[a], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        out.close();
        if (!out) {
            std::cerr << argv[a] << ": cannot be written\n";
            std::remove(argv[a]);
            return 1;
        }
    }
    return 0;
}
