#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <string>
#include <vector>

#include "screen/video.h"
#include "selector/direnum.h"
#include "selectortest.h"

namespace {

using selector::dircount;
using selector::dirlist;
using seltest::TreeTest;

// ---- splitpath and display names -----------------------------------------

TEST(SplitPath, SplitsDirectoryBaseAndExtension)
{
    auto p = selector::splitpath("C:\\music\\hubbard\\tune.sid");
    EXPECT_EQ(p.dir, "C:\\music\\hubbard\\");
    EXPECT_EQ(p.name, "tune");
    EXPECT_EQ(p.ext, ".sid");

    p = selector::splitpath("/home/u/a.b/readme");
    EXPECT_EQ(p.dir, "\\home\\u\\a.b\\") << "forward slashes become backslashes";
    EXPECT_EQ(p.name, "readme");
    EXPECT_EQ(p.ext, "") << "a dot in the directory part is no extension";

    p = selector::splitpath("archive.tar.gz");
    EXPECT_EQ(p.dir, "");
    EXPECT_EQ(p.name, "archive.tar");
    EXPECT_EQ(p.ext, ".gz") << "the extension starts at the last dot";
}

TEST(SplitPath, ColonKeepsOnlyTheFirstCharacterAsDrive)
{
    auto p = selector::splitpath("abc:def.ahx");
    EXPECT_EQ(p.dir, "a:");
    EXPECT_EQ(p.name, "def");
    EXPECT_EQ(p.ext, ".ahx");

    p = selector::splitpath("x:y:z.sid");
    EXPECT_EQ(p.dir, "x:");
    EXPECT_EQ(p.name, "y:z") << "only the first colon is taken";

    p = selector::splitpath("q:w\\e\\r.sid");
    EXPECT_EQ(p.dir, "q:w\\e\\");
    EXPECT_EQ(p.name, "r");
}

TEST(SplitPath, DegenerateNames)
{
    auto p = selector::splitpath(".sid");
    EXPECT_EQ(p.name, "");
    EXPECT_EQ(p.ext, ".sid");
    p = selector::splitpath("");
    EXPECT_EQ(p.dir, "");
    EXPECT_EQ(p.name, "");
    EXPECT_EQ(p.ext, "");
    p = selector::splitpath("dir\\");
    EXPECT_EQ(p.dir, "dir\\");
    EXPECT_EQ(p.name, "");
    p = selector::splitpath("tune.");
    EXPECT_EQ(p.name, "tune");
    EXPECT_EQ(p.ext, ".");
    EXPECT_EQ(selector::displayname("a\\b\\c.sid"), "c.sid");
    EXPECT_EQ(selector::displayname("plain.ahx"), "plain.ahx");
}

// ---- order -------------------------------------------------------------

selector::dirrec rec(uint8_t isdir, const std::string& label, const std::string& name = "")
{
    selector::dirrec r;
    r.isdir = isdir;
    r.label = label;
    r.name = name.empty() ? label : name;
    return r;
}

std::vector<std::string> labels(int n)
{
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) out.push_back(dirlist[i].label);
    return out;
}

TEST(SortDirList, ParentThenDirectoriesThenFilesIgnoringCase)
{
    dirlist[0] = rec(0, "b.sid");
    dirlist[1] = rec(0, "A.sid");
    dirlist[2] = rec(1, "<zz>");
    dirlist[3] = rec(1, "<..>");
    dirlist[4] = rec(1, "<Aa>");
    selector::sortdirlist(5);
    EXPECT_EQ(labels(5), (std::vector<std::string>{"<..>", "<Aa>", "<zz>", "A.sid", "b.sid"}));
}

TEST(SortDirList, EqualLabelsKeepTheirOrder)
{
    dirlist[0] = rec(0, "x.sid", "first");
    dirlist[1] = rec(0, "X.SID", "second");
    dirlist[2] = rec(0, "a.sid");
    dirlist[3] = rec(0, "x.Sid", "third");
    dirlist[4] = rec(1, "<..>");
    selector::sortdirlist(5);
    EXPECT_EQ(dirlist[0].label, "<..>");
    EXPECT_EQ(dirlist[1].label, "a.sid");
    EXPECT_EQ(dirlist[2].name, "first");
    EXPECT_EQ(dirlist[3].name, "second");
    EXPECT_EQ(dirlist[4].name, "third");
}

TEST(SortDirList, PrefixIsSmallerAndBytesCompareUnsigned)
{
    dirlist[0] = rec(0, "\xe9.sid");
    dirlist[1] = rec(0, "ab.sid");
    dirlist[2] = rec(0, "ab");
    dirlist[3] = rec(0, "Z.sid");
    selector::sortdirlist(4);
    EXPECT_EQ(labels(4), (std::vector<std::string>{"ab", "ab.sid", "Z.sid", "\xe9.sid"}));
}

TEST(SortDirList, LeavesEntriesPastTheCountAlone)
{
    dirlist[0] = rec(0, "b");
    dirlist[1] = rec(0, "a");
    dirlist[2] = rec(0, "0");
    selector::sortdirlist(2);
    EXPECT_EQ(labels(3), (std::vector<std::string>{"a", "b", "0"}));
    selector::sortdirlist(1);
    selector::sortdirlist(0);
    EXPECT_EQ(labels(3), (std::vector<std::string>{"a", "b", "0"}));
}

TEST(SortDirList, ReverseOrderedLongListEndsSorted)
{
    const int n = 5000;
    if (dirlist.size() < static_cast<size_t>(n)) dirlist.resize(n);
    for (int i = 0; i < n; ++i) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "f%04d", n - i);
        dirlist[i] = rec(0, buf);
    }
    selector::sortdirlist(n);
    for (int i = 1; i < n; ++i) ASSERT_LT(dirlist[i - 1].label, dirlist[i].label) << i;
}

TEST(DirEntryAfter, ParentEntryAlwaysStaysInFront)
{
    EXPECT_FALSE(selector::direntryafter(rec(1, "<..>"), rec(1, "<..>")));
    EXPECT_FALSE(selector::direntryafter(rec(1, "<..>"), rec(1, "<!>")));
    EXPECT_TRUE(selector::direntryafter(rec(0, "!"), rec(1, "<..>")));
    EXPECT_TRUE(selector::direntryafter(rec(0, "a"), rec(1, "<z>")));
    EXPECT_FALSE(selector::direntryafter(rec(1, "<z>"), rec(0, "a")));
    EXPECT_FALSE(selector::direntryafter(rec(0, "a"), rec(0, "A")));
}

// ---- listing a real directory ---------------------------------------------

TEST_F(TreeTest, EnumerationDeliversDotEntriesAndDirectoryFlags)
{
    makedir("sub");
    makefile("f.sid");
#ifndef _WIN32
    std::filesystem::create_directory_symlink("sub", "link");
#endif
    const auto entries = selector::enumeratedir();
    auto find = [&](const std::string& n) {
        return std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.name == n; });
    };
    ASSERT_NE(find("."), entries.end());
    ASSERT_NE(find(".."), entries.end());
    EXPECT_TRUE(find("..")->isdir);
    EXPECT_TRUE(find("sub")->isdir);
    EXPECT_FALSE(find("f.sid")->isdir);
#ifndef _WIN32
    EXPECT_TRUE(find("link")->isdir) << "a link to a directory is walked like one";
    EXPECT_EQ(entries.size(), 5u);
#else
    EXPECT_EQ(entries.size(), 4u);
#endif
}

TEST_F(TreeTest, DotIsNeverListedAndParentComesFirst)
{
    makedir("aaa");
    makefile("0.sid");
    selector::builddirlist();
    ASSERT_EQ(dircount, 3);
    EXPECT_EQ(dirlist[0].label, "<..>");
    EXPECT_EQ(dirlist[0].name, "..");
    EXPECT_EQ(dirlist[0].isdir, 1);
    EXPECT_EQ(indexof("."), -1);
    EXPECT_EQ(dirlist[1].label, "<aaa>");
    EXPECT_EQ(dirlist[2].label, "0.sid");
    EXPECT_EQ(dirlist[2].isdir, 0);
}

TEST_F(TreeTest, FilesAreClaimedByTheirLastFourCharacters)
{
    // Names that differ only in letter case where the file system keeps
    // them apart.
    const std::string upper = seltest::casesensitivefs ? "TUNE.SID" : "TUNE2.SID";
    const std::string mixed = seltest::casesensitivefs ? "Tune.Sid" : "Tune3.Sid";
    for (const std::string& n : {std::string("tune.sid"), upper, mixed})
        makefile(n);
    for (const char* n : {"tune.sid.bak", "tunesid", ".sid", "sid", "x.ahx", "readme.txt", "x.sidx"})
        makefile(n);
    makedir("dir.sid");
    selector::builddirlist();
    EXPECT_EQ(countof("tune.sid"), 1);
    EXPECT_EQ(countof(upper), 1);
    EXPECT_EQ(countof(mixed), 1);
    EXPECT_EQ(countof("x.ahx"), 1);
    EXPECT_EQ(countof("tune.sid.bak"), 0);
    EXPECT_EQ(countof("tunesid"), 0);
    EXPECT_EQ(countof("sid"), 0);
    EXPECT_EQ(countof("readme.txt"), 0);
    EXPECT_EQ(countof("x.sidx"), 0);
    ASSERT_EQ(countof(".sid"), 1);
    EXPECT_EQ(dirlist[indexof(".sid")].label, ".sid");
    ASSERT_EQ(countof("dir.sid"), 1);
    EXPECT_EQ(dirlist[indexof("dir.sid")].isdir, 1) << "a directory is never taken for a tune";
    EXPECT_EQ(dircount, 7);
}

TEST_F(TreeTest, HiddenEntriesAreListed)
{
    makedir(".config");
    makefile(".hidden.ahx");
    selector::builddirlist();
    ASSERT_NE(indexof(".config"), -1);
    EXPECT_EQ(dirlist[indexof(".config")].label, "<.config>");
    ASSERT_NE(indexof(".hidden.ahx"), -1);
    EXPECT_EQ(dirlist[indexof(".hidden.ahx")].label, ".hidden.ahx");
}

TEST_F(TreeTest, LongNamesAreCutToSeventyEightCharacters)
{
    const std::string file77 = std::string(73, 'f') + ".sid";
    const std::string file76 = std::string(72, 'g') + ".sid";
    const std::string dir75(75, 'd');
    const std::string dir74(74, 'e');
    const std::string file200 = std::string(196, 'h') + ".ahx";
    for (const auto& n : {file77, file76, file200}) makefile(n);
    makedir(dir75);
    makedir(dir74);
    selector::builddirlist();

    ASSERT_NE(indexof(file77), -1);
    EXPECT_EQ(dirlist[indexof(file77)].label, file77.substr(0, 76) + "..");
    EXPECT_EQ(dirlist[indexof(file77)].label.size(), 78u);
    EXPECT_EQ(dirlist[indexof(file76)].label, file76) << "76 characters fit";
    EXPECT_EQ(dirlist[indexof(file200)].label, file200.substr(0, 76) + "..");
    ASSERT_NE(indexof(dir75), -1);
    EXPECT_EQ(dirlist[indexof(dir75)].label, "<" + dir75.substr(0, 74) + "..>");
    EXPECT_EQ(dirlist[indexof(dir75)].label.size(), 78u);
    EXPECT_EQ(dirlist[indexof(dir74)].label, "<" + dir74 + ">") << "74 characters fit";
    EXPECT_EQ(dirlist[indexof(file77)].name, file77) << "the name stays whole";
}

TEST_F(TreeTest, TwoSlotsClaimingOneExtensionListFilesTwice)
{
    core::players[2].active = true;
    core::players[2].ext = ".SID";
    core::players[1].active = false;
    core::players[1].ext = ".MOD";
    makefile("one.sid");
    makefile("two.mod");
    selector::builddirlist();
    EXPECT_EQ(countof("one.sid"), 2);
    EXPECT_EQ(countof("two.mod"), 0) << "an inactive slot claims nothing";
    EXPECT_EQ(dircount, 3);
}

TEST_F(TreeTest, NamesWithColonOrBackslashShowTheirDisplayName)
{
    if (!seltest::colonnames) GTEST_SKIP() << "Windows names cannot hold ':' or '\\'";
    makefile("disk:tune.sid");
    makefile("dir\\sub\\song.ahx");
    makefile("c:x\\y.sid");
    makedir("a:b\\c");
    selector::builddirlist();
    ASSERT_NE(indexof("disk:tune.sid"), -1);
    EXPECT_EQ(dirlist[indexof("disk:tune.sid")].label, "tune.sid");
    ASSERT_NE(indexof("dir\\sub\\song.ahx"), -1);
    EXPECT_EQ(dirlist[indexof("dir\\sub\\song.ahx")].label, "song.ahx");
    ASSERT_NE(indexof("c:x\\y.sid"), -1);
    EXPECT_EQ(dirlist[indexof("c:x\\y.sid")].label, "y.sid");
    ASSERT_NE(indexof("a:b\\c"), -1);
    EXPECT_EQ(dirlist[indexof("a:b\\c")].label, "<c>");
}

TEST_F(TreeTest, ListingIsSortedAfterEveryBuild)
{
    for (const char* n : {"b.sid", "A.sid", "c.ahx"}) makefile(n);
    for (const char* n : {"zz", "Aa", "m"}) makedir(n);
    selector::builddirlist();
    EXPECT_EQ(labels(dircount),
              (std::vector<std::string>{"<..>", "<Aa>", "<m>", "<zz>", "A.sid", "b.sid", "c.ahx"}));
}

TEST_F(TreeTest, MoreThan1023EntriesAreAllListedDirectoriesFirst)
{
    for (int i = 0; i < 1030; ++i) {
        makedir("d" + std::to_string(i));
        makefile("s" + std::to_string(i) + (i % 2 ? ".sid" : ".AHX"));
    }
    selector::builddirlist();
    ASSERT_EQ(dircount, 2061);
    EXPECT_EQ(dirlist[1].name, "d0");
    EXPECT_EQ(dirlist[1030].name, "d9") << "'>' of \"<d9>\" sorts after the digits";
    EXPECT_EQ(dirlist[1031].name, "s0.AHX");
    EXPECT_EQ(dirlist[2060].name, "s999.sid");
}

TEST_F(TreeTest, RemovedWorkingDirectoryListsNothing)
{
    if (!seltest::cwdremovable) GTEST_SKIP() << "Windows keeps the working folder from being removed";
    makedir("gone");
    std::filesystem::current_path("gone");
    std::filesystem::remove(root_ / "gone");
    makefile(root_ / "x.sid");
    selector::dircount = 5;
    selector::builddirlist();
    EXPECT_EQ(dircount, 0);
}

TEST_F(TreeTest, InitRemembersStartAndClearsTheWholeArray)
{
    dirlist[selector::dirarrsize - 1] = rec(1, "<old>");
    dirlist[0] = rec(0, "stale");
    makefile("a.sid");
    screen::screenrows = 50;
    selector::selpos = 7;
    selector::quickpos = 3;
    selector::quickstr = "AB";
    selector::selresult = 13;
    selector::selectorinit();
    EXPECT_EQ(selector::startdir, seltest::workdir());
    EXPECT_EQ(dircount, 2);
    EXPECT_EQ(dirlist[1].name, "a.sid");
    EXPECT_TRUE(dirlist[selector::dirarrsize - 1].label.empty());
    EXPECT_EQ(dirlist[selector::dirarrsize - 1].isdir, 0);
    EXPECT_EQ(selector::selpos, 0);
    EXPECT_EQ(selector::quickpos, 0);
    EXPECT_TRUE(selector::quickstr.empty());
    EXPECT_EQ(selector::selresult, 0);
    EXPECT_EQ(selector::selrow, 25);
}

TEST_F(TreeTest, DoneReturnsToTheStartDirectory)
{
    makedir("deeper/still");
    selector::selectorinit();
    std::filesystem::current_path("deeper/still");
    selector::selectordone();
    EXPECT_EQ(seltest::workdir(), root_.string());
}

TEST_F(TreeTest, DoneEndsTheProgramWhenTheStartDirectoryIsGone)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    makedir("start");
    std::filesystem::current_path("start");
    selector::selectorinit();
    std::filesystem::current_path(root_);
    std::filesystem::remove(root_ / "start");
    EXPECT_EXIT(selector::selectordone(), ::testing::ExitedWithCode(2), "");
}

#ifndef _WIN32
// A working folder 24 × 241 bytes deep, past the 4096 bytes a path may hold:
// made and removed one relative step at a time.
class DeepTreeTest : public TreeTest {
protected:
    const std::string step = std::string(240, 'd');

    void SetUp() override
    {
        TreeTest::SetUp();
        for (int i = 0; i < 24; ++i) ASSERT_TRUE(mkdir(step.c_str(), 0700) == 0 && chdir(step.c_str()) == 0);
    }
    void TearDown() override
    {
        if (chdir(root_.c_str()) == 0) {
            while (chdir(step.c_str()) == 0) {}
            while (chdir("..") == 0 && rmdir(step.c_str()) == 0) {}
        }
        TreeTest::TearDown();
    }
    static ino_t here()
    {
        struct stat st;
        return stat(".", &st) == 0 ? st.st_ino : 0;
    }
};

TEST_F(DeepTreeTest, DoneReturnsToAStartDirectoryPastThePathLimit)
{
    const ino_t start = here();
    selector::selectorinit();
    std::filesystem::current_path(root_);
    selector::selectordone();
    EXPECT_EQ(here(), start);
}

TEST_F(DeepTreeTest, AFolderThatCannotBeEnteredLeavesADeepFolderAsItWas)
{
    makefile("notafolder");
    const ino_t start = here();
    std::string previous;
    selector::changedir("notafolder", previous);
    EXPECT_EQ(here(), start);
    EXPECT_GT(previous.size(), 4096u) << "the full path is still handed back";
    ASSERT_EQ(unlink("notafolder"), 0);
    selector::changedir("..", previous);
    EXPECT_NE(here(), start);
}
#endif

}  // namespace
