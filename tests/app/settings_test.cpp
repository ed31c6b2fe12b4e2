// The settings file: where it lives, what a damaged one means, and saving
// that replaces the file whole or changes nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/settings.h"
#include "portable.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class Settings : public ::testing::Test {
protected:
    fs::path scratch;
    std::string home;

    void SetUp() override
    {
        if (const char* h = std::getenv("HOME")) home = h;
        scratch = portable::makescratchdir("tarplay-settings-");
#ifdef _WIN32
        portable::setenvalways("APPDATA", scratch.string().c_str());
#else
        portable::setenvalways("XDG_CONFIG_HOME", scratch.string().c_str());
#endif
        settings::current = settings::tsettings{};
    }
    void TearDown() override
    {
        portable::setenvalways("HOME", home.c_str());
        std::error_code ec;
        fs::permissions(scratch / "tarplay", fs::perms::owner_all, ec);
        fs::remove_all(scratch, ec);
    }

    fs::path file() const { return scratch / "tarplay" / "settings"; }

    void write(const std::string& text) const
    {
        fs::create_directories(file().parent_path());
        std::ofstream(file(), std::ios::binary) << text;
    }

    std::string read() const
    {
        std::ifstream in(file(), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    static settings::tsettings on()
    {
        settings::tsettings s;
        s.continuous = true;
        s.scale = 3;
        s.fullscreen = true;
        return s;
    }
};

TEST_F(Settings, TheFileIsInTheConfigurationFolder)
{
    EXPECT_EQ(settings::settingsfile(), file());
#ifndef _WIN32
    // Without XDG_CONFIG_HOME, or with a relative one, under ~/.config.
    portable::setenvalways("HOME", scratch.string().c_str());
    for (const char* value : {"", "relative/dir"}) {
        portable::setenvalways("XDG_CONFIG_HOME", value);
        EXPECT_EQ(settings::settingsfile(), scratch / ".config" / "tarplay" / "settings") << value;
    }
#endif
}

TEST_F(Settings, MissingOrGarbledMeansDefaultsAndReadableLinesCount)
{
    settings::current = on();
    settings::loadsettings();
    EXPECT_EQ(settings::current, settings::tsettings{}) << "no file";

    const struct { std::string text; bool continuous; } cases[] = {
        {"continuous=1\n", true},
        {"  continuous = on \r\n", true},
        {"continuous=1", true},  // no line end
        {"# continuous=1\n", false},
        {"continuous=maybe\n", false},
        {"continuous\n=1\n", false},
        {"continuous=1\ncontinuous=0\n", false},  // the last line wins
        {"colour=7\n\x01\xFF\x00garbage=\ncontinuous=yes\n"s, true},
        {"\0\0\0\0"s, false},
        {"=\n==\n=1\n", false},
    };
    for (const auto& c : cases) {
        write(c.text);
        settings::current = on();
        settings::loadsettings();
        EXPECT_EQ(settings::current.continuous, c.continuous) << c.text;
    }

    // The view: a scale from 1 to 4 (0: never chosen), full screen or not.
    const struct { std::string text; int scale; bool fullscreen; } views[] = {
        {"scale=3\nfullscreen=1\n", 3, true}, {"scale=4", 4, false}, {"scale=0\n", 0, false},
        {"scale=5\n", 0, false}, {"scale=-1\nfullscreen=2\n", 0, false}, {"scale=22\n", 0, false},
        {"scale=\n", 0, false}, {"fullscreen=yes\nscale= 2 \n", 2, true},
    };
    for (const auto& v : views) {
        write(v.text);
        settings::loadsettings();
        EXPECT_EQ(settings::current.scale, v.scale) << v.text;
        EXPECT_EQ(settings::current.fullscreen, v.fullscreen) << v.text;
    }

    // A file larger than any we write is not ours: defaults.
    write("continuous=1\n" + std::string(8192, '#'));
    settings::loadsettings();
    EXPECT_FALSE(settings::current.continuous);
    // A folder in its place.
    fs::remove(file());
    fs::create_directory(file());
    settings::loadsettings();
    EXPECT_FALSE(settings::current.continuous);
    EXPECT_FALSE(settings::savesettings()) << "a folder is not replaced";
}

TEST_F(Settings, SavedWholeAndReadBack)
{
    settings::current = on();
    ASSERT_TRUE(settings::savesettings()) << "the folder is created";
    settings::current = settings::tsettings{};
    settings::loadsettings();
    EXPECT_EQ(settings::current, on());
    EXPECT_EQ(settings::parsesettings(settings::formatsettings(on())), on());
    EXPECT_EQ(settings::parsesettings(settings::formatsettings({})), settings::tsettings{});

    // Replacing an older file leaves no temporary file beside it.
    write("continuous=1\nunknown=5\n");
    settings::current = settings::tsettings{};
    ASSERT_TRUE(settings::savesettings());
    EXPECT_EQ(read(), settings::formatsettings({}));
    size_t files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(file().parent_path())) ++files;
    EXPECT_EQ(files, 1u);
}

TEST_F(Settings, AHomeThatCannotBeWrittenIsNeverSavedToAndReadsAsDefaults)
{
    // A file where the configuration folder should be: nothing can be made
    // below it, not even by a user whom permissions do not stop.
    std::ofstream(scratch / "blocker") << "x";
#ifdef _WIN32
    portable::setenvalways("APPDATA", (scratch / "blocker").string().c_str());
#else
    portable::setenvalways("XDG_CONFIG_HOME", (scratch / "blocker").string().c_str());
#endif
    settings::current = on();
    EXPECT_FALSE(settings::savesettings());
    settings::loadsettings();
    EXPECT_EQ(settings::current, settings::tsettings{});

#ifndef _WIN32
    // A read-only folder, for a user whom permissions do stop.
    portable::setenvalways("XDG_CONFIG_HOME", scratch.string().c_str());
    write("continuous=1\n");
    fs::permissions(file().parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
    std::ofstream probe(file().parent_path() / "probe");
    if (!probe) {
        settings::current = settings::tsettings{};
        EXPECT_FALSE(settings::savesettings());
        settings::loadsettings();
        EXPECT_TRUE(settings::current.continuous) << "still read";
    }
#endif
    // Without any folder named by the environment nothing is saved.
#ifdef _WIN32
    portable::setenvalways("APPDATA", "");
#else
    portable::setenvalways("XDG_CONFIG_HOME", "");
    portable::setenvalways("HOME", "");
#endif
    EXPECT_TRUE(settings::settingsfile().empty());
    EXPECT_FALSE(settings::savesettings());
}

}  // namespace
