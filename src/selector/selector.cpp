#include "selector/selector.h"

#include <SDL.h>

#include "core/playback.h"
#include "screen/console.h"
#include "screen/video.h"
#include "selector/direnum.h"
#include "selector/dirlist.h"

namespace selector {

int32_t selpos = 0;
int32_t sellast = 0;
uint8_t selrow = 25;
uint8_t selresult = 0;
std::string quickstr;
int32_t quickpos = 0;
bool recordrequest = false;
std::string titleline;

namespace {

constexpr uint8_t resultnone = 0;
constexpr uint8_t resultdirchanged = 1;
constexpr uint8_t resultchosen = 13;
constexpr uint8_t resultleave = 27;

constexpr uint8_t dircolour = 0x08;
constexpr uint8_t filecolour = 0x07;
constexpr uint8_t dirbarcolour = 0x1C;
constexpr uint8_t filebarcolour = 0x9C;
constexpr uint8_t titlecolour = 0x0F;
constexpr uint8_t notfoundcolour = 0xC0;
constexpr uint16_t altmask = 0x300;
constexpr uint32_t framedelayms = 20;
constexpr uint32_t flashdelayms = 100;

// Whether name, with a-z turned to A-Z, begins with prefix (upper case):
// compared in place, so that a search through a large folder copies nothing.
bool upcasestartswith(const std::string& name, const std::string& prefix)
{
    if (name.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (upcasebyte(static_cast<uint8_t>(name[i])) != static_cast<uint8_t>(prefix[i])) return false;
    return true;
}

// The entry under the cursor, or none when the list is empty. sellast is -1
// for an empty list, so every look-up goes through here.
const dirrec* current()
{
    if (selpos >= dircount) return nullptr;
    return &dirlist[selpos];
}

void moveup()
{
    if (selpos > 0) --selpos;
}

void movedown()
{
    if (dircount == 0) return;
    if (selpos < sellast) ++selpos;
}

// The cursor row stays fixed, so a page is the 23 rows above it back and the
// 24 rows below it on. Signed arithmetic: a short list must not wrap.
void pageup()
{
    if (selpos >= selrow) selpos -= selrow - 2;
    else selpos = 0;
}

void pagedown()
{
    if (dircount == 0) return;
    if (sellast - selrow > selpos)
        selpos += selrow - 1;
    else
        selpos = sellast;
}

void rebuildattop()
{
    builddirlist();
    selpos = 0;
}

// F2 and the left button walk into a directory without looking for the one
// just left.
void opendirectory(const dirrec& e)
{
    selresult = resultdirchanged;
    std::string previous;
    changedir(e.name, previous);
    rebuildattop();
}

void enterkey()
{
    const dirrec* e = current();
    if (!e) return;
    selresult = resultchosen;
    if (e->isdir) {
        selresult = resultdirchanged;
        enterdir();
    }
}

void f2key()
{
    const dirrec* e = current();
    if (!e) return;
    selresult = resultchosen;
    if (e->isdir) opendirectory(*e);
    else recordrequest = true;
}

void backspacekey()
{
    if (quickstr.size() < 2) {
        quickpos = 0;
        if (selpos == 0) enterdir();
        else selpos = 0;
    } else {
        quickstr.pop_back();
        quicksearch(0);
    }
}

void keydown(SDLKey sym, SDLMod mod)
{
    const bool shift = (mod & KMOD_SHIFT) != 0;
    if (mod & altmask) {
        // Alt+Enter and Alt+digits change the view and never start a name.
        SDL_keysym key{};
        key.sym = sym;
        key.mod = mod;
        if (screen::viewkey(key)) return;
    }
    bool endsearch = false;
    switch (sym) {
    case SDLK_UP:
        if (shift) pageup();
        else moveup();
        endsearch = true;
        break;
    case SDLK_DOWN:
        if (shift) pagedown();
        else movedown();
        endsearch = true;
        break;
    case SDLK_PAGEUP:
        pageup();
        endsearch = true;
        break;
    case SDLK_PAGEDOWN:
        pagedown();
        endsearch = true;
        break;
    case SDLK_HOME:
    case SDLK_PERIOD:
        selpos = 0;
        endsearch = true;
        break;
    case SDLK_END:
        if (dircount > 0) selpos = sellast;
        endsearch = true;
        break;
    case SDLK_RETURN:
        enterkey();
        break;
    case SDLK_F2:
        f2key();
        break;
    case SDLK_ESCAPE:
        selresult = resultleave;
        break;
    case SDLK_BACKSPACE:
        backspacekey();
        break;
    default:
        if (sym >= SDLK_0 && sym <= SDLK_9) quicksearch(static_cast<char>(sym));
        else if (sym >= SDLK_a && sym <= SDLK_z) quicksearch(static_cast<char>(sym - SDLK_a + 'A'));
        break;
    }
    if (endsearch) quickpos = 0;
}

void buttondown(uint8_t button)
{
    switch (button) {
    case SDL_BUTTON_LEFT:
        if (const dirrec* e = current()) {
            if (e->isdir) opendirectory(*e);
            else selresult = resultchosen;
        }
        break;
    case SDL_BUTTON_WHEELUP:
        moveup();
        break;
    case SDL_BUTTON_WHEELDOWN:
        movedown();
        break;
    default:
        break;
    }
}

void writechoice(std::string& filename)
{
    const dirrec* e = current();
    if (!e) {
        filename.clear();
        core::filename.clear();
        core::songname.clear();
        core::songext.clear();
        return;
    }
    const splitparts parts = splitpath(e->name);
    filename = e->name;
    core::filename = e->name;
#ifdef _WIN32
    core::songname = parts.name;
#else
    // "\" and ":" are ordinary characters of a name here: the song is named
    // by the whole name up to its extension, never by the part after one of
    // them, which would name (and record over) another file.
    core::songname = e->name.substr(0, e->name.rfind('.'));
#endif
    core::songext = upcaseascii(parts.ext);
    core::chooseplayer();
}

}  // namespace

void drawlistline(int row, const std::string& text, uint8_t isdir, bool cursorok)
{
    screen::curattr = isdir ? dircolour : filecolour;
    if (cursorok && row == selrow) {
        screen::curattr = isdir ? dirbarcolour : filebarcolour;
        screen::confillrows(row, 1, screen::curattr);
    }
    const int x = 39 - static_cast<int>(text.size()) / 2;
    screen::conwriteat(x < 0 ? 0 : x, row, text);
    screen::curattr = filecolour;
}

void drawselector()
{
    screen::conclear();
    screen::curattr = titlecolour;
    screen::conwriteat(0, 0, selector::titleline);
    selresult = resultnone;
    sellast = dircount - 1;
    for (int row = 2; row < screen::screenrows; ++row) {
        const int32_t index = selpos + row - selrow;
        if (index >= 0 && index < dircount) {
            const dirrec& e = dirlist[index];
            drawlistline(row, e.label, e.isdir, true);
        }
    }
}

void changedir(const std::string& name, std::string& previous)
{
    quickpos = 0;
    // A working directory removed behind our back has no path any more, but
    // its parent can still be entered by name.
    if (!getworkdir(previous)) previous.clear();
    // A change that fails leaves the working directory where it was, so
    // there is nothing to go back to (and a full path past the system's
    // limit could not be entered anyway).
    setworkdir(name);
}

void enterdir()
{
    // With nothing listed the parent is still the way out.
    const dirrec* e = current();
    const std::string target = e ? e->name : std::string("..");
    std::string previous;
    changedir(target, previous);
    rebuildattop();

    const size_t cut = previous.find_last_of("/\\");
    const std::string left = cut == std::string::npos ? std::string() : previous.substr(cut + 1);
    for (int32_t i = 0; i < dircount; ++i) {
        if (dirlist[i].name == left) {
            selpos = i;
            break;
        }
    }
}

void quicksearch(char ch)
{
    if (quickpos == 0) quickstr.clear();
    std::string text = quickstr;
    if (ch != 0) text += ch;
    if (!text.empty()) {
        for (int32_t i = 0; i < dircount; ++i) {
            if (upcasestartswith(dirlist[i].name, text)) {
                quickpos = i;
                selpos = i;
                quickstr = text;
                return;
            }
        }
    }
    screen::conrowattr(selrow, notfoundcolour);
    screen::presentframe();
    SDL_Delay(flashdelayms);
    quickpos = 0;
}

bool selectnextfile(std::string& filename)
{
    for (int32_t i = selpos + 1; i < dircount; ++i) {
        if (dirlist[i].isdir) continue;
        selpos = i;
        writechoice(filename);
        return true;
    }
    return false;
}

void selectorevent()
{
    const SDL_Event& ev = screen::event;
    if (ev.type == SDL_KEYDOWN) keydown(ev.key.keysym.sym, ev.key.keysym.mod);
    else if (ev.type == SDL_MOUSEBUTTONDOWN) buttondown(ev.button.button);
}

bool fileselector(std::string& filename)
{
    selresult = resultnone;
    quickpos = 0;
    quickstr.clear();
    screen::conclear();
    recordrequest = false;
    while (selresult != resultchosen && selresult != resultleave) {
        drawselector();
        screen::presentframe();
        if (screen::pollkey()) selectorevent();
        SDL_Delay(framedelayms);
    }
    writechoice(filename);
    return selresult == resultchosen;
}

}  // namespace selector
