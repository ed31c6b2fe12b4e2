// What the play screen shows: the fixed frame, the status and information
// lines, the voice rows with their level bars, and below them either the
// scrolling note history or the oscilloscope with the two wave previews.
#include <string>

#include "app/audiolife.h"
#include "app/continuous.h"
#include "app/helpscreen.h"
#include "app/playscreen.h"
#include "app/program.h"
#include "app/system.h"
#include "common/hex.h"
#include "core/playback.h"
#include "core/tuneclock.h"
#include "screen/console.h"
#include "screen/video.h"
#include "synth/synth.h"

namespace shell {

extern uint16_t scrollstep;

void setpixel(int x, int y, uint8_t colour)
{
    if (x < 0 || x >= screen::framewidth || y < 0 || y >= screen::frameheight) return;
    screen::framebuf[y * screen::framewidth + x] = colour;
}

std::string twodigits(uint32_t v)
{
    return {static_cast<char>('0' + v / 10 % 10), static_cast<char>('0' + v % 10)};
}

std::string minutesseconds(uint64_t seconds)
{
    return twodigits(static_cast<uint32_t>(seconds / 60 % 100)) + ":" + twodigits(static_cast<uint32_t>(seconds % 60));
}

std::string timetext()
{
    const core::clockreading at = core::clockread();
    const uint32_t rate = at.persecond;
    return minutesseconds(rate ? at.elapsed / rate : 0) + "/" + minutesseconds(rate ? at.length / rate : 0);
}

namespace {

constexpr int inforow = 4;
constexpr int firstvoicerow = 7;
constexpr int notetoprow = 17;
constexpr int notevaluerow = 48;
constexpr int scopetop = 136;
constexpr int scopebottom = 391;
constexpr int scopecentre = 264;

const char* const widenames[16] = {"C-", "C#", "D-", "D#", "E-", "F-", "F-", "F#",
                                   "G-", "G#", "G#", "A-", "A-", "A#", "B-", "B-"};
const char* const narrownames[16] = {"c", "C", "d", "D", "e", "f", "f", "F",
                                     "g", "G", "G", "a", "a", "A", "b", "b"};

screen::tchardata* cell(int x, int y)
{
    if (x < 0 || x >= screen::consolecols || y < 0 || y >= screen::consolemaxrows) return nullptr;
    return &screen::textscreen[y * screen::consolecols + x];
}

void setattr(int x, int y, uint8_t attr)
{
    if (auto* c = cell(x, y)) c->attr = attr;
}

void setbackground(int x, int y, uint8_t colour)
{
    if (auto* c = cell(x, y)) c->attr = static_cast<uint8_t>((c->attr & 0x0F) | (colour << 4));
}

void writecoloured(uint8_t attr, const std::string& s)
{
    screen::curattr = attr;
    screen::conwrite(s);
}

uint8_t notecolumn(const synth::tvoiceview& v)
{
    return static_cast<uint8_t>((v.notefrac >> 4) & 15);
}

// The fixed colours of the information line: darker ends fading in and out.
void colourinfoline()
{
    setattr(0, inforow, 0x18);
    setattr(1, inforow, 0x18);
    for (int x = 2; x <= 5; ++x) setattr(x, inforow, 0x17);
    for (int x = 74; x <= 77; ++x) setattr(x, inforow, 0x17);
    setattr(78, inforow, 0x18);
    setattr(79, inforow, 0x18);
}

// The collection's notes that follow the tune's own text, as taken for the
// subsong they belong to.
struct tnotesshown {
    std::string text;
    uint8_t song = 0;
    bool valid = false;
};
tnotesshown notesshown;

const std::string& notesnow()
{
    const uint8_t song = core::cursong;
    if (!notesshown.valid || notesshown.song != song) {
        notesshown.text = core::notesline(song);
        notesshown.song = song;
        notesshown.valid = true;
    }
    return notesshown.text;
}

// The character that cell 79 received at scroll position p: the tune's own
// text, then the notes.
char infochar(int p)
{
    const std::string& text = core::infotext;
    const int len = core::infolen;
    if (p >= 1 && p < len && static_cast<size_t>(p) <= text.size()) return text[p - 1];
    const std::string& notes = notesnow();
    if (p >= 1 && p >= len && static_cast<size_t>(p - len) < notes.size()) return notes[static_cast<size_t>(p - len)];
    return ' ';
}

void drawstatus()
{
    screen::curattr = 7;
    screen::congotoxy(0, 1);
    screen::conwrite("Playing " + core::filename + " song " + screen::inttostr(core::cursong + 1) + " at " + ratetext());
    screen::connewline();
    screen::conclreol();
    // Row 2 is otherwise empty: the mark moves and hides nothing.
    if (continuouson()) screen::conwriteat(65, 2, "continuous play");
}

void scrollinfo()
{
    screen::curattr = 0x1F;
    displaytick = core::tickpos;
    if (++scrollstep < 3) return;
    scrollstep = 0;
    ++scrollpos;
    if (scrollpos >= core::infolen + notesnow().size() + 80) scrollpos = 1;
    screen::conshiftleft(inforow);
    colourinfoline();
    if (auto* c = cell(79, inforow)) c->code = static_cast<uint8_t>(infochar(scrollpos));
}

void drawtime()
{
    screen::curattr = 7;
    screen::conwriteat(69, 1, timetext());
}

// Three pixel-row pairs from x = 120: level, pulse and brightness.
void drawlevelbars(int i, const synth::tvoiceview& v)
{
    const uint8_t values[3] = {v.level, v.pulse, v.filter};
    const uint8_t colours[3] = {3, 28, 224};
    const int top = 8 * (firstvoicerow + i);
    for (int pair = 0; pair < 3; ++pair) {
        const int lit = 2 * values[pair] + 1;
        for (int y = top + 1 + 2 * pair; y <= top + 2 + 2 * pair; ++y)
            for (int x = 0; 120 + x < 632; ++x) setpixel(120 + x, y, x < lit ? colours[pair] : 182);
    }
}

void drawnotecolumn(int i, const synth::tvoiceview& v)
{
    const int c = layout.leftmargin + i * layout.columnwidth;
    screen::curattr = 7;
    screen::conwriteat(c, notetoprow,
                       "F" + layout.gapa + "q" + layout.gapb + "Wf" + layout.gapb + "Vl" + layout.gapb + "Pw" +
                           layout.gapb + "Co");

    const uint8_t level = v.level;
    std::string line;
    if (level > 0)
        line = (layout.wide ? widenames : narrownames)[notecolumn(v)] + screen::inttostr(v.octave);
    else
        line = layout.emptynote;
    line += layout.spacer + hexbyte(v.control) + " " + hexbyte(level) + " " + hexbyte(v.pulse) + " " + hexbyte(v.filter);
    uint8_t colour = level < 0x30 ? 8 : level < 0x80 ? 7 : 15;
    if (v.muted) colour = 8;
    screen::curattr = colour;
    screen::conwriteat(c, notevaluerow, line);
    if (v.muted) return;

    const uint8_t values[3] = {level, v.pulse, v.filter};
    const uint8_t backgrounds[3] = {1, 2, 4};
    for (int b = 0; b < 3; ++b) {
        const int x = c + layout.baroffset + b * layout.barspacing;
        for (int y = notevaluerow; y >= 49 - values[b] / 8; --y) {
            setbackground(x, y, backgrounds[b]);
            setbackground(x + 1, y, backgrounds[b]);
        }
    }
}

void drawvoices()
{
    const int last = shownlastvoice();
    screen::confillrows(firstvoicerow, last + 1, 0x70);
    for (int i = 0; i <= last; ++i) {
        const synth::tvoiceview v = synth::voiceview(i);
        screen::congotoxy(0, firstvoicerow + i);
        writecoloured(0x70, screen::inttostr(i + 1) + " ");
        if (v.level > 0)
            writecoloured(v.noise ? 0x7F : 0x70, widenames[notecolumn(v)] + screen::inttostr(v.octave));
        else
            writecoloured(v.noise ? 0x7F : 0x70, "===");
        writecoloured(0x70, " " + hexbyte(v.control));
        writecoloured(0x71, hexbyte(v.level));
        writecoloured(0x72, hexbyte(v.pulse));
        writecoloured(0x74, hexbyte(v.filter) + " ");
        drawlevelbars(i, v);
        if (displaymode == 0) drawnotecolumn(i, v);
    }
}

void drawuptime()
{
    screen::curattr = 7;
    screen::conwriteat(73, 49, uptimetext());
}

void drawnotehistory(uint8_t colour)
{
    for (int x = 0; x < screen::consolecols; ++x) {
        screen::conplot(x, 35, 7);
        screen::conplot(x, 98, 7);
    }
    screen::curattr = colour;
    screen::conclearbg(18, 31);
    if (static_cast<int64_t>(displaytick) - static_cast<int64_t>(lastscrolltick) > core::scrollticks) {
        lastscrolltick = displaytick;
        screen::conscrollup(19, 30);
    }
}

void drawtrace()
{
    static const uint8_t tracecolours[8] = {10, 10, 10, 10, 10, 14, 14, 12};
    const int64_t frames = core::blockframes;
    for (int x = 0; x < screen::framewidth; ++x) {
        int64_t index = x * frames / screen::framewidth;
        if (index < 0 || index >= static_cast<int64_t>(core::scopebuf.size())) index = 0;
        if (scopescale == 0) scopescale = 1;
        int s = core::scopebuf[static_cast<size_t>(index)] / scopescale;
        const int magnitude = s < 0 ? -s : s;
        if (magnitude > 127) {
            ++scopescale;
            s = 0;
        }
        setpixel(x, scopetop, screen::colourmap[7]);
        setpixel(x, scopebottom, screen::colourmap[7]);
        const int m = s < 0 ? -s : s;
        setpixel(x, scopecentre - s, screen::colourmap[tracecolours[(m / 16) % 8]]);
    }
}

void drawscope()
{
    screen::confillrows(17, 33, 0);
    for (int y = scopetop; y <= scopebottom; ++y)
        for (int x = 0; x < screen::framewidth; ++x) setpixel(x, y, 0);
    program::scopeunder();
    drawtrace();
    program::scopeover();
}

}  // namespace

void forgetnotes()
{
    notesshown = tnotesshown{};
}

void drawplayframe()
{
    screen::curattr = 7;
    screen::conclear();
    screen::curattr = 15;
    screen::conwriteat(0, 0, titlebar);
    screen::curattr = 7;
    const int last = shownlastvoice();
    for (int x = 0; x < screen::consolecols; ++x) {
        screen::conputcell(x, 3, 0x09DC);
        screen::conputcell(x, 5, 0x09DF);
        screen::conputcell(x, 6, 0x0FDC);
        screen::conputcell(x, last + 8, 0x0FDF);
    }
    screen::confillrows(17, 33, 0);
}

void restoreplayframe()
{
    drawplayframe();
    // The information line as far as it has scrolled.
    for (int x = 0; x < screen::consolecols; ++x)
        screen::conputcell(x, inforow,
                           static_cast<uint16_t>(0x1F00 | static_cast<uint8_t>(infochar(scrollpos - (79 - x)))));
    if (scrollpos > 0) colourinfoline();
    if (displaymode >= 2) {
        screen::congotoxy(0, 17);
        screen::curattr = 7;
        helpscreen();
    }
}

void playredraw()
{
    drawstatus();
    scrollinfo();
    drawtime();
    drawvoices();
    const uint8_t colour = screen::curattr;
    drawuptime();
    screen::presentframe();
    screen::conwriteat(73, 49, "      ");
    if (displaymode == 0)
        drawnotehistory(colour);
    else if (displaymode == 1)
        drawscope();
}

}  // namespace shell
