// The collection's tune notes: the file found where the song lengths are,
// its entries parsed with their folder notes, subsong sections and
// continuation lines, lines that cannot be read passed over, and what a
// loaded tune hands the play screen.
#include "sid_fixture.h"

#include "players/sid/stil.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

std::string writefile(const fs::path& p, const std::string& text)
{
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
    return p.string();
}

// Written for this test in the collection's layout: a comment, a folder's
// entry, a tune with notes on the whole tune and on two subsongs, field
// text running on over continuation lines, Latin-1 letters, and broken
// lines between the good ones.
const std::string stiltext =
    "### The notes of a test collection ###\r\n"
    "# a comment line\r\n"
    "\r\n"
    "/MUSICIANS/T/Tester/\r\n"
    "COMMENT: All of these were written for a test.\r\n"
    "\r\n"
    "/MUSICIANS/T/Tester/Deep.sid\r\n"
    "  TITLE: Deep (Title Tune)\r\n"
    " ARTIST: Band\r\n"
    "COMMENT: First part\r\n"
    "         and the second part\r\n"
    "this line is broken\r\n"
    "         ending here.\r\n"
    "(#2)\r\n"
    "   NAME: B side\r\n"
    " AUTHOR: J\xF6rg\x80M\xFCller\r\n"
    "(#0)\r\n"
    "(#3)\r\n"
    "  TITLE:no blank after the colon\r\n"
    "  Title: lower case name\r\n"
    "  TITLE: Third\r\n"
    "\r\n"
    "   NAME: a field outside any entry\r\n"
    "/MUSICIANS/T/Tester/Other.sid\r\n"
    "         a continuation with no field before it\r\n"
    "  TITLE: Other\r\n";

class StilTest : public sidtest::SidTest {
protected:
    fs::path saved;
    void SetUp() override
    {
        SidTest::SetUp();
        sid::stilreset();
        saved = fs::current_path();
    }
    void TearDown() override
    {
        fs::current_path(saved);
        sid::stilreset();
        SidTest::TearDown();
    }
};

TEST_F(StilTest, EntriesFieldsSubsongsAndContinuationsAreParsedAndBrokenLinesPassedOver)
{
    sid::stilparse(stiltext);
    ASSERT_EQ(sid::stil.entries.size(), 3u);
    EXPECT_EQ(sid::stil.entries["/MUSICIANS/T/Tester/"].whole, "COMMENT: All of these were written for a test.");
    const sid::tstilentry& deep = sid::stil.entries["/MUSICIANS/T/Tester/Deep.sid"];
    EXPECT_EQ(deep.whole,
              "TITLE: Deep (Title Tune)    ARTIST: Band    "
              "COMMENT: First part and the second part ending here.");
    ASSERT_EQ(deep.subsongs.size(), 3u);
    EXPECT_EQ(deep.subsongs[0], "");
    // Latin-1 letters become the font's own (0x94 o-umlaut, 0x81
    // u-umlaut); what names no letter becomes a blank.
    EXPECT_EQ(deep.subsongs[1], "NAME: B side    AUTHOR: J\x94rg M\x81ller");
    EXPECT_EQ(deep.subsongs[2], "TITLE: Third");
    EXPECT_EQ(sid::stil.entries["/MUSICIANS/T/Tester/Other.sid"].whole, "TITLE: Other");
    // The broken line, "(#0)", the two bad field lines, the field outside
    // an entry and the continuation with no field.
    EXPECT_EQ(sid::stil.skipped, 6u);
}

TEST_F(StilTest, ALoadedTuneGetsItsFolderTuneAndSubsongNotesFromTheNearestDocuments)
{
    const fs::path root = dir.path() / "C64Music";
    writefile(root / "DOCUMENTS/STIL.txt", stiltext);
    // A notes file further up is passed by: the nearest one is read.
    writefile(dir.path() / "DOCUMENTS/STIL.txt", "/C64Music/MUSICIANS/T/Tester/Deep.sid\n  TITLE: Wrong\n");
    const sidtest::bytes tune = sidtest::makepsid({.songs = 3}, {0x60});
    const std::string path = writefile(root / "MUSICIANS/T/Tester/Deep.sid", {tune.begin(), tune.end()});
    // The selector plays tunes by their name in the folder it shows.
    fs::current_path(root / "MUSICIANS/T/Tester");
    core::tunenotes = {};
    ASSERT_TRUE(sid::sidload("Deep.sid"));
    EXPECT_EQ(sid::stil.root, root);
    EXPECT_EQ(core::tunenotes.whole,
              "COMMENT: All of these were written for a test.    TITLE: Deep (Title Tune)    ARTIST: Band    "
              "COMMENT: First part and the second part ending here.");
    EXPECT_EQ(core::notesline(1), "   " + core::tunenotes.whole + "    NAME: B side    AUTHOR: J\x94rg M\x81ller ");
    EXPECT_EQ(core::notesline(0), "   " + core::tunenotes.whole + " ");
    EXPECT_EQ(core::notesline(200), core::notesline(0)) << "a subsong without notes of its own";

    // A tune the file does not list still gets its folder's notes; one in
    // another folder none.
    writefile(root / "MUSICIANS/T/Tester/New.sid", {tune.begin(), tune.end()});
    EXPECT_EQ(sid::stilnotes("New.sid").whole, "COMMENT: All of these were written for a test.");
    writefile(root / "GAMES/X.sid", {tune.begin(), tune.end()});
    EXPECT_EQ(sid::stilnotes((root / "GAMES/X.sid").string()).whole, "");
    EXPECT_TRUE(sid::stilnotes((dir.path() / "elsewhere.sid").string()).whole.empty()) << "outside the collection";
}

TEST_F(StilTest, TheStartFolderComesFirstAndKeysStartThere)
{
    writefile(dir.path() / "DOCUMENTS/STIL.txt", "/A/T.sid\n  TITLE: From the start folder\n");
    writefile(dir.path() / "A/DOCUMENTS/STIL.txt", "/T.sid\n  TITLE: Nearer\n");
    fs::current_path(dir.path());
    sid::stilstartup();
    EXPECT_EQ(sid::stilnotes("A/T.sid").whole, "TITLE: From the start folder");
    EXPECT_EQ(sid::stilkey(dir.path() / "A/../A/./T.sid", dir.path()), "/A/T.sid");
    EXPECT_EQ(sid::stilkey(dir.path() / "T.sid", dir.path() / "A"), "");
}

TEST_F(StilTest, MissingHugeOrUnreadableFilesLeaveNoNotes)
{
    const sidtest::bytes tune = sidtest::makepsid({.songs = 1}, {0x60});
    const std::string path = writefile(dir.path() / "T.sid", {tune.begin(), tune.end()});
    fs::current_path(dir.path());
    sid::stilstartup();
    EXPECT_TRUE(sid::stilnotes("T.sid").whole.empty());
    EXPECT_FALSE(sid::stil.loaded);

    // A folder in the file's place, then a file far larger than the
    // collection's (sparse: nothing is written).
    fs::create_directories(dir.path() / "DOCUMENTS/STIL.txt");
    EXPECT_TRUE(sid::stilnotes("T.sid").whole.empty());
    EXPECT_FALSE(sid::stil.loaded);
    fs::remove(dir.path() / "DOCUMENTS/STIL.txt");
    writefile(dir.path() / "STIL.txt", "/T.sid\n  TITLE: Too big\n");
    fs::resize_file(dir.path() / "STIL.txt", uintmax_t{65} << 20);
    EXPECT_TRUE(sid::stilnotes("T.sid").whole.empty());
    EXPECT_FALSE(sid::stil.loaded);

    // Garbage of every byte value parses to nothing and stops nothing.
    std::string junk;
    for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 131) & 0xFF);
    sid::stilparse(junk);
    sid::stilparse("/K\n"s + std::string(100000, 'x') + "\n  TITLE: " + std::string(100000, 'y'));
    EXPECT_LE(sid::stil.entries["/K"].whole.size(), 16384u) << "one entry's notes are bounded";
}

}  // namespace
