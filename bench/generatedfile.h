// A generated input file of a benchmark in a scratch folder of its own,
// removed with the folder when the benchmark is done.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "portable.h"

struct generatedfile {
    std::filesystem::path dir, file;
    bool ok = false;
    // The text written to relative (below the scratch folder), folders made.
    generatedfile(const std::string& prefix, const std::filesystem::path& relative, const std::string& text)
    {
        std::error_code ec;
        dir = portable::makescratchdir(prefix);
        file = dir / relative;
        std::filesystem::create_directories(file.parent_path(), ec);
        std::ofstream(file, std::ios::binary) << text;
        ok = std::filesystem::exists(file, ec);
    }
    ~generatedfile()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    generatedfile(const generatedfile&) = delete;
    generatedfile& operator=(const generatedfile&) = delete;
};
