// The ahxmake program itself: its outputs and its error reports.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ahxloaded.h"
#include "portable.h"

namespace {

namespace fs = std::filesystem;

struct run {
    int code;
    std::string err;
};

run runtool(const std::string& args)
{
    // Tests of this suite run in parallel processes: each keeps its own error file.
    const fs::path errfile =
        fs::temp_directory_path() / ("ahxmake_cli_err_" + std::to_string(portable::processid()) + ".txt");
    const std::string cmd =
        portable::commandpath(ahxtest::builddir() + "/ahxmake") + " " + args + " 2>" + errfile.string();
    const int status = std::system(cmd.c_str());
    run r{portable::exitcode(status), portable::unixlines(ahxtest::readfile(errfile.string()))};
    fs::remove(errfile);
    return r;
}

class AhxMakeProgram : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("ahxmake_cli_" + std::to_string(portable::processid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path write(const std::string& name, const std::string& text)
    {
        std::ofstream(dir / name, std::ios::binary) << text;
        return dir / name;
    }
};

}  // namespace

TEST_F(AhxMakeProgram, WritesTheSameModuleToEveryOutput)
{
    const fs::path src = write("ok.ahxt", "title \"Ok\"\npositions\n0 0 0 0 0 0 0 0\nend\n");
    run r = runtool(src.string() + " " + (dir / "a.ahx").string() + " " +
                    (dir / "b.ahx").string());
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(r.err.empty());
    const std::string a = ahxtest::readfile((dir / "a.ahx").string());
    EXPECT_EQ(a.substr(0, 3), "THX");
    EXPECT_EQ(a, ahxtest::readfile((dir / "b.ahx").string()));
}

TEST_F(AhxMakeProgram, ReportsFileAndLineAndWritesNothing)
{
    const fs::path src = write("bad.ahxt", "title \"Bad\"\n\ninstrument 1 \"x\"\nvolume 99\nend\n");
    const fs::path out = dir / "bad.ahx";
    run r = runtool(src.string() + " " + out.string());
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, src.string() + ":4: volume must be 0 to 64, not 99\n");
    EXPECT_FALSE(fs::exists(out));

    r = runtool((dir / "missing.ahxt").string() + " " + out.string());
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("cannot be read"), std::string::npos);
    EXPECT_FALSE(fs::exists(out));

    r = runtool(src.string());
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("usage"), std::string::npos);
}
