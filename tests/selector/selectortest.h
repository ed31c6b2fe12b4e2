// Shared fixtures for the selector tests: a scratch directory tree that the
// test works in, and the two players registered in their usual slots.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/playback.h"
#include "portable.h"
#include "selector/dirlist.h"
#include "selector/selector.h"

namespace seltest {

inline void registerplayers()
{
    core::playersinit();
    core::players[7].active = true;
    core::players[7].ext = ".SID";
    core::players[6].active = true;
    core::players[6].ext = ".AHX";
}

// What the platform's file system allows, for the tests that need it.
#ifdef _WIN32
constexpr bool casesensitivefs = false;
constexpr bool colonnames = false;
constexpr bool cwdremovable = false;
#else
constexpr bool casesensitivefs = true;
constexpr bool colonnames = true;
constexpr bool cwdremovable = true;
#endif

inline std::string workdir()
{
    std::error_code ec;
    return std::filesystem::current_path(ec).string();
}

// A fresh directory under the system's temporary folder; the test runs with
// it as the working directory, and the old one comes back afterwards.
class TreeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = std::filesystem::current_path();
        root_ = portable::makescratchdir("tarplay-sel-");
        std::filesystem::current_path(root_);
        registerplayers();
        selector::dircount = 0;
        selector::selpos = 0;
        selector::selrow = 25;
        selector::quickpos = 0;
        selector::quickstr.clear();
    }

    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::current_path(saved_, ec);
        std::filesystem::remove_all(root_, ec);
        core::playersinit();
    }

    static void makefile(const std::filesystem::path& p)
    {
        std::ofstream(p) << "x";
    }

    static void makedir(const std::filesystem::path& p)
    {
        std::filesystem::create_directories(p);
    }

    // Index of the first listed entry with this name, or -1.
    static int indexof(const std::string& name)
    {
        for (int i = 0; i < selector::dircount; ++i)
            if (selector::dirlist[i].name == name) return i;
        return -1;
    }

    static int countof(const std::string& name)
    {
        int n = 0;
        for (int i = 0; i < selector::dircount; ++i)
            if (selector::dirlist[i].name == name) ++n;
        return n;
    }

    std::filesystem::path saved_;
    std::filesystem::path root_;
};

}  // namespace seltest
