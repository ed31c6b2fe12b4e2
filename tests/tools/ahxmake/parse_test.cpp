#include <gtest/gtest.h>

#include <random>

#include "ahxcompare.h"
#include "ahxparse.h"
#include "ahxwrite.h"

using namespace ahxmake;

namespace {

// The smallest complete song, to which a test adds the lines it is about.
std::string song(const std::string& extra, const std::string& positions = "1 0 1 0 1 0 1 0")
{
    return "tracklen 4\n" + extra + "\ntrack 1\nC-3\nend\npositions\n" + positions + "\nend\n";
}

struct outcome {
    bool ok;
    parseerror err;
    moduledesc m;
};

outcome parse(const std::string& text)
{
    outcome o;
    o.ok = parsedescription(text, o.m, o.err);
    return o;
}

}  // namespace

TEST(AhxParse, NoteNamesCoverFiveOctaves)
{
    EXPECT_EQ(notefromname("C-1"), 1);
    EXPECT_EQ(notefromname("C#1"), 2);
    EXPECT_EQ(notefromname("B-1"), 12);
    EXPECT_EQ(notefromname("C-2"), 13);
    EXPECT_EQ(notefromname("a-3"), 34);
    EXPECT_EQ(notefromname("B-5"), 60);
    for (const char* bad : {"C-0", "C-6", "H-3", "E#1", "B#2", "C3", "C--", "", "C-10", "---"})
        EXPECT_EQ(notefromname(bad), -1) << bad;
    for (int n = 1; n <= 60; n++)
        EXPECT_EQ(notefromname(notename(n)), n);
    EXPECT_EQ(notename(0), "---");
    EXPECT_EQ(notename(61), "---");
}

TEST(AhxParse, FullDescriptionGivesEveryField)
{
    outcome o = parse(ahxtest::fulldescription());
    ASSERT_TRUE(o.ok) << o.err.line << ": " << o.err.message;
    const moduledesc& m = o.m;
    EXPECT_EQ(m.title, "Full \"test\" song");
    EXPECT_EQ(m.revision, 0);
    EXPECT_EQ(m.speedmul, 3);
    EXPECT_EQ(m.restartpos, 1);
    EXPECT_EQ(m.tracklen, 8);
    EXPECT_EQ(m.subsongs, (std::vector<int>{1, 2}));

    ASSERT_EQ(m.instruments.size(), 2u);
    const instrumentdesc& a = m.instruments[0];
    EXPECT_EQ(a.name, "Bass  line");
    EXPECT_EQ(a.volume, 48);
    EXPECT_EQ(a.wavelen, 5);
    EXPECT_EQ(a.attackframes, 2);
    EXPECT_EQ(a.attackvol, 64);
    EXPECT_EQ(a.decayframes, 10);
    EXPECT_EQ(a.decayvol, 40);
    EXPECT_EQ(a.sustainframes, 20);
    EXPECT_EQ(a.releaseframes, 12);
    EXPECT_EQ(a.releasevol, 0);
    EXPECT_EQ(a.filterlow, 10);
    EXPECT_EQ(a.filterhigh, 50);
    EXPECT_EQ(a.filterspeed, 63);
    EXPECT_EQ(a.squarelow, 8);
    EXPECT_EQ(a.squarehigh, 56);
    EXPECT_EQ(a.squarespeed, 3);
    EXPECT_EQ(a.vibdelay, 12);
    EXPECT_EQ(a.vibdepth, 15);
    EXPECT_EQ(a.vibspeed, 20);
    EXPECT_EQ(a.hardcutframes, 7);
    EXPECT_TRUE(a.hardcutrelease);
    EXPECT_EQ(a.plistspeed, 2);
    ASSERT_EQ(a.plist.size(), 4u);
    // +0 is note 1: the played note itself; +12 an octave above it.
    EXPECT_EQ(a.plist[0].note, 1);
    EXPECT_FALSE(a.plist[0].fixed);
    EXPECT_EQ(a.plist[0].wave, 2);
    EXPECT_EQ(a.plist[1].note, 13);
    EXPECT_EQ(a.plist[1].wave, 3);
    EXPECT_EQ(a.plist[1].fx1, 3);
    EXPECT_EQ(a.plist[1].param1, 0x40);
    EXPECT_EQ(a.plist[1].fx2, 4);
    EXPECT_EQ(a.plist[1].param2, 0x30);
    EXPECT_EQ(a.plist[2].note, 25);
    EXPECT_TRUE(a.plist[2].fixed);
    EXPECT_EQ(a.plist[2].wave, 4);
    EXPECT_EQ(a.plist[2].param1, 0xFF);
    EXPECT_EQ(a.plist[2].param2, 0xFF);
    EXPECT_EQ(a.plist[3].note, 0);
    EXPECT_EQ(a.plist[3].wave, 0);
    EXPECT_EQ(a.plist[3].fx1, 5);
    EXPECT_EQ(a.plist[3].param1, 1);

    const instrumentdesc& b = m.instruments[1];
    EXPECT_EQ(b.name, "");
    EXPECT_EQ(b.volume, 0);
    EXPECT_EQ(b.hardcutframes, 3);
    EXPECT_FALSE(b.hardcutrelease);
    EXPECT_TRUE(b.plist.empty());

    ASSERT_TRUE(m.tracks[3].described);
    const auto& t = m.tracks[3].steps;
    ASSERT_EQ(t.size(), 8u);
    EXPECT_EQ(t[0].note, 25);
    EXPECT_EQ(t[0].instr, 1);
    EXPECT_EQ(t[0].fx, 0xC);
    EXPECT_EQ(t[0].param, 0x40);
    EXPECT_EQ(t[1].note, 0);
    EXPECT_EQ(t[2].note, 26);
    EXPECT_EQ(t[2].instr, 2);
    EXPECT_EQ(t[3].note, 52);
    EXPECT_EQ(t[4].note, 0);  // skipped by the row number
    EXPECT_EQ(t[6].note, 60);
    EXPECT_EQ(t[6].fx, 0xE);
    EXPECT_EQ(t[6].param, 0xC5);
    EXPECT_EQ(t[7].note, 0);
    EXPECT_EQ(m.tracks[0].steps[0].fx, 0xF);
    EXPECT_EQ(m.lasttrack(), 3);
    EXPECT_FALSE(m.trackzeroempty());

    ASSERT_EQ(m.positions.size(), 3u);
    EXPECT_EQ(m.positions[0].track, (std::array<int, 4>{0, 3, 3, 0}));
    EXPECT_EQ(m.positions[0].transpose, (std::array<int, 4>{0, -12, 127, -128}));
    EXPECT_EQ(m.positions[1].transpose, (std::array<int, 4>{0, 0, 0, 5}));
}

TEST(AhxParse, ValuesAtTheirLimitsAreAccepted)
{
    std::string plist = "instrument 63 \"last\"\nvolume 64\nwavelen 5\nattack 255 64\n"
                        "filter 63 63 63\nsquare 255 255 255\nvibrato 255 15 255\n"
                        "hardcut 7\nplist 255\n";
    for (int e = 0; e < maxplistlen; e++)
        plist += "+62 7 7FF 7FF\n";
    plist += "end\nend\n";
    for (int i = 1; i < 63; i++)
        plist += "instrument " + std::to_string(i) + " \"\"\nend\n";
    std::string text = "tracklen 64\nspeedmul 4\n" + plist + "track 255\n63: B-5 63 FFF\nend\n";
    text += "positions\n";
    for (int p = 0; p < maxpositions; p++)
        text += "255 127 255 -128 0 0 0 0\n";
    text += "end\nrestart 999\n";
    for (int s = 0; s < maxsubsongs; s++)
        text += "subsong 999\n";
    outcome o = parse(text);
    ASSERT_TRUE(o.ok) << o.err.line << ": " << o.err.message;
    EXPECT_EQ(o.m.instruments.size(), 63u);
    EXPECT_EQ(o.m.instruments[62].plist.size(), 255u);
    EXPECT_EQ(o.m.instruments[62].plist[0].note, 63);
    EXPECT_EQ(o.m.tracks[255].steps[63].instr, 63);
    EXPECT_EQ(o.m.positions.size(), 1000u);
    EXPECT_EQ(o.m.subsongs.size(), 255u);
    EXPECT_EQ(o.m.lasttrack(), 255);

    EXPECT_TRUE(parse("tracklen 1\ntrack 1\nC-1\nend\npositions\n1 0 1 0 1 0 1 0\nend\n").ok);
}

struct badcase {
    const char* name;
    std::string text;
    int line;
    const char* words;  // part of the message
};

TEST(AhxParse, BadInputIsNamedWithItsLine)
{
    const std::vector<badcase> cases = {
        {"unknown keyword", "tracklen 4\ntempo 6\n", 2, "unknown keyword 'tempo'"},
        {"revision 2", "revision 2\n", 1, "revision must be 0 to 1"},
        {"speedmul 0", "\n\nspeedmul 0\n", 3, "speed multiplier must be 1 to 4"},
        {"speedmul 5", "speedmul 5\n", 1, "1 to 4"},
        {"tracklen 0", "tracklen 0\n", 1, "track length must be 1 to 64"},
        {"tracklen 65", "tracklen 65\n", 1, "track length"},
        {"tracklen late", "track 1\nend\ntracklen 8\n", 3, "before the first track"},
        {"title unquoted", "title Song\n", 1, "double quotes"},
        {"open quote", "title \"Song\n", 1, "no closing"},
        {"control char", "title \"a\tb\"\n", 1, "control character"},
        {"stray end", "end\n", 1, "without a block"},
        {"volume 65", "instrument 1 \"a\"\nvolume 65\nend\n", 2, "volume must be 0 to 64"},
        {"volume word", "instrument 1 \"a\"\nvolume loud\nend\n", 2, "must be a number"},
        {"wavelen 6", "instrument 1 \"a\"\nwavelen 6\nend\n", 2, "wave length must be 0 to 5"},
        {"attack vol", "instrument 1 \"a\"\nattack 1 65\nend\n", 2, "attack volume"},
        {"release frames", "instrument 1 \"a\"\nrelease 256 0\nend\n", 2, "release frames"},
        {"filter 64", "instrument 1 \"a\"\nfilter 1 64 1\nend\n", 2, "filter high"},
        {"vib depth", "instrument 1 \"a\"\nvibrato 0 16 0\nend\n", 2, "vibrato depth"},
        {"hardcut 8", "instrument 1 \"a\"\nhardcut 8\nend\n", 2, "hard cut frames"},
        {"hardcut word", "instrument 1 \"a\"\nhardcut 2 soft\nend\n", 2, "hardcut FRAMES"},
        {"instrument 0", "instrument 0 \"a\"\nend\n", 1, "instrument number must be 1 to 63"},
        {"instrument 64", "instrument 64 \"a\"\nend\n", 1, "1 to 63"},
        {"no name", "instrument 1\nend\n", 1, "instrument NUMBER \"name\""},
        {"twice", "instrument 1 \"a\"\nend\ninstrument 1 \"b\"\nend\n", 3, "already described"},
        {"two plists", "instrument 1 \"a\"\nplist 1\nend\nplist 1\nend\nend\n", 4,
         "already has a performance list"},
        {"plist fx 8", "instrument 1 \"a\"\nplist 1\n+0 saw 800 ---\nend\nend\n", 3,
         "command 8 does not exist"},
        {"plist wave", "instrument 1 \"a\"\nplist 1\n+0 sine 000 ---\nend\nend\n", 3,
         "expected a wave"},
        {"plist note", "instrument 1 \"a\"\nplist 1\n+63 saw 000 ---\nend\nend\n", 3,
         "note offset must be 0 to 62"},
        {"plist fixed", "instrument 1 \"a\"\nplist 1\n=X-3 saw 000 ---\nend\nend\n", 3,
         "fixed note"},
        {"plist short", "instrument 1 \"a\"\nplist 1\n+0 saw 000\nend\nend\n", 3,
         "NOTE WAVE CMD1 CMD2"},
        {"plist hex", "instrument 1 \"a\"\nplist 1\n+0 saw 0G0 ---\nend\nend\n", 3,
         "three hex digits"},
        {"bad setting", "instrument 1 \"a\"\ncolour 3\nend\n", 2, "unknown instrument setting"},
        {"unclosed instrument", "\ninstrument 1 \"a\"\nvolume 3\n", 2,
         "instrument 1 has no 'end'"},
        {"unclosed track", "track 5\nC-3\n", 1, "track 5 has no 'end'"},
        {"unclosed positions", "positions\n", 1, "position list has no 'end'"},
        {"track 256", "track 256\nend\n", 1, "track number must be 0 to 255"},
        {"track twice", "track 2\nend\ntrack 2\nend\n", 3, "already described"},
        {"bad note", "track 1\nH-3\nend\n", 2, "expected a note"},
        {"note C-6", "track 1\nC-6\nend\n", 2, "expected a note"},
        {"bad instr", "track 1\nC-3 64\nend\n", 2, "instrument number must be 0 to 63"},
        {"bad command", "track 1\nC-3 01 C4\nend\n", 2, "three hex digits"},
        {"bad 4 command", "track 1\nC-3 01 CC 40\nend\n", 2, "one hex digit"},
        {"bad param", "track 1\nC-3 01 C 4G\nend\n", 2, "two hex digits"},
        {"too many tokens", "track 1\nC-3 01 C 40 x\nend\n", 2, "expected a row"},
        {"row number only", "track 1\n3:\nend\n", 2, "expected a row"},
        {"row past len", "tracklen 4\ntrack 1\n4: C-3\nend\n", 3, "beyond the track length"},
        {"row backwards", "track 1\n2: C-3\n1: C-3\nend\n", 3, "comes after row 2"},
        {"too many rows", "tracklen 2\ntrack 1\nC-3\nC-3\nC-3\nend\n", 5,
         "more than 2 rows"},
        {"position 7 words", "positions\n1 0 1 0 1 0 1\nend\n", 2, "TRACK TRANSPOSE"},
        {"transpose 128", "positions\n1 0 1 0 1 128 1 0\nend\n", 2, "transpose must be"},
        {"transpose -129", "positions\n1 0 1 0 1 -129 1 0\nend\n", 2, "transpose must be"},
        {"huge number", "positions\n1 0 1 0 1 99999999999999999999 1 0\nend\n", 2,
         "transpose must be"},
        {"no positions", "track 1\nend\n", 0, "no positions"},
        {"undescribed track", song("", "1 0 2 0 1 0 1 0"), 7, "uses track 2"},
        {"undescribed instrument", "tracklen 4\ntrack 1\nC-3\n--- 02\nend\n"
                                   "positions\n1 0 1 0 1 0 1 0\nend\n",
         4, "uses instrument 2"},
        {"instrument gap", "instrument 1 \"a\"\nend\ninstrument 3 \"c\"\nend\n"
                           "positions\n0 0 0 0 0 0 0 0\nend\n",
         3, "instrument 2 is not"},
        {"restart beyond", song("restart 1"), 2, "restart position 1 is beyond"},
        {"subsong beyond", song("subsong 0\nsubsong 1"), 3, "subsong start 1 is beyond"},
    };
    for (const badcase& c : cases) {
        outcome o = parse(c.text);
        EXPECT_FALSE(o.ok) << c.name;
        EXPECT_EQ(o.err.line, c.line) << c.name << ": " << o.err.message;
        EXPECT_NE(o.err.message.find(c.words), std::string::npos)
            << c.name << ": got \"" << o.err.message << "\"";
    }
}

TEST(AhxParse, CountLimitsAreEnforced)
{
    std::string plist = "instrument 1 \"a\"\nplist 1\n";
    for (int e = 0; e <= maxplistlen; e++)
        plist += "+0 saw 000 ---\n";
    outcome o = parse(plist + "end\nend\n");
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.err.line, 2 + maxplistlen + 1);

    std::string positions = "positions\n";
    for (int p = 0; p <= maxpositions; p++)
        positions += "0 0 0 0 0 0 0 0\n";
    o = parse(positions + "end\n");
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.err.line, 1 + maxpositions + 1);

    std::string subsongs;
    for (int s = 0; s <= maxsubsongs; s++)
        subsongs += "subsong 0\n";
    o = parse(song(subsongs));
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.err.line, 2 + maxsubsongs);
}

TEST(AhxParse, CommentsBlankLinesAndTrackZero)
{
    outcome o = parse("# a song\n\n  title \"A # not a comment\"  # but this is\n"
                      "positions   # list\n 0 0 0 0 0 0 0 0\nend\n");
    ASSERT_TRUE(o.ok) << o.err.message;
    EXPECT_EQ(o.m.title, "A # not a comment");
    // Track 0 needs no description: it is the empty track.
    EXPECT_TRUE(o.m.trackzeroempty());
    EXPECT_EQ(o.m.lasttrack(), 0);
    EXPECT_EQ(o.m.revision, 1);
    EXPECT_EQ(o.m.speedmul, 1);
    EXPECT_EQ(o.m.tracklen, 64);

    // A sharp inside a word is a note, a '#' that starts a word a comment.
    o = parse("tracklen 2\ntrack 1\nC#3 01 #C-3 02\n#C-3\nD#4\nend\ninstrument 1 \"a\"\nend\n"
              "positions\n1 0 1 0 1 0 1 0\nend\n");
    ASSERT_TRUE(o.ok) << o.err.line << ": " << o.err.message;
    EXPECT_EQ(o.m.tracks[1].steps[0].note, notefromname("C#3"));
    EXPECT_EQ(o.m.tracks[1].steps[0].instr, 1);
    EXPECT_EQ(o.m.tracks[1].steps[1].note, notefromname("D#4"));
}

// Random and cut-off texts must end in a clean verdict, never a crash; and
// whatever parses must also write, or refuse with a reason.
TEST(AhxParse, MangledTextNeverCrashes)
{
    const std::string good = ahxtest::fulldescription();
    std::mt19937 rng(12345);
    auto check = [](const std::string& text) {
        moduledesc m;
        parseerror err;
        if (parsedescription(text, m, err)) {
            std::vector<uint8_t> bytes;
            std::string why;
            if (!writemodule(m, bytes, why)) {
                EXPECT_FALSE(why.empty());
            }
        } else {
            EXPECT_FALSE(err.message.empty());
            EXPECT_GE(err.line, 0);
        }
    };
    for (size_t cut = 0; cut <= good.size(); cut++)
        check(good.substr(0, cut));
    const std::vector<std::string> words = {
        "title", "\"x\"", "revision", "speedmul", "restart", "tracklen", "subsong",
        "instrument", "track", "positions", "plist", "end", "volume", "wavelen", "attack",
        "square", "filter", "hardcut", "release", "0", "1", "63", "64", "255", "-1", "C-3",
        "---", "--", "+5", "=C-1", "saw", "C40", "7FF", "3:", "\n", "\n", "\n", "\"", "#"};
    for (int round = 0; round < 2000; round++) {
        std::string text;
        int n = int(rng() % 60);
        for (int i = 0; i < n; i++)
            text += words[rng() % words.size()] + " ";
        check(text);
        std::string mutated = good;
        for (int i = 0; i < 5; i++)
            mutated[rng() % mutated.size()] = char(rng() % 256);
        check(mutated);
    }
}
