// The play screen: loads the chosen tune, plays it and shows the voices.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

namespace shell {

extern uint8_t displaymode;  // bit 0: 0 notes, 1 oscilloscope; +2 while help shows
extern uint16_t scopescale;

// Resets the scrolling and display counters that the recorder also clears.
void resetdisplaycounters();

// Runs until the user leaves or quitplay is set (a tune that cannot go on).
void playscreen();

// The pieces playscreen() is made of, so that each can be driven on its own.

// Loads the tune and prepares the screen; false (and nothing touched) when
// the player refuses the file or the audio cannot start. Starts the tune
// sounding (audiorun) as its very last step.
bool playstart();
// One pass of the loop: sleep, redraw when due, one event, posted messages,
// display reset after a restart.
void playpass();
// Ends the line and the tune's audio (audioend).
void playend();
// After a playstart that succeeded: passes until quitplay, then playend.
void playrun();

// The whole redraw: status, information line, time, voice rows, note
// display or oscilloscope.
void playredraw();
// Handles one taken event as the loop does.
void playevent(const SDL_Event& ev);
// The redraw clock: adds the time since the last reading and reports whether
// more than 20 ms have gathered (the gathered time then starts again at 0).
bool redrawdue(uint32_t now);
// Milliseconds from now until redrawdue will report true (0: it will now).
uint32_t msuntilredraw(uint32_t now);
// Clears the display after a restart (display tick below the last scroll tick).
void checkrestart();
// The information line takes the notes of the newly loaded tune.
void forgetnotes();
// Title bar, rules and the cleared lower rows.
void drawplayframe();
// All that a message box wipes: the frame above, the information line as far
// as it has scrolled, and the help text while it is shown.
void restoreplayframe();

// Drawing helpers for the views that programs add.
void setpixel(int x, int y, uint8_t colour);  // outside the frame: nothing

// Two digits of v (modulo 100), and minutes (modulo 100) and seconds as
// "mm:ss".
std::string twodigits(uint32_t v);
std::string minutesseconds(uint64_t seconds);
// The time line: elapsed and total time of the tune by its clock.
std::string timetext();

// "..." and the last 28 characters when a name is longer than 28.
std::string shortname(const std::string& name);

// Layout of the voice columns, set by playstart from lastvoice.
struct playlayout {
    int columnwidth = 26;
    bool wide = true;
    int baroffset = 7;
    int barspacing = 3;
    int leftmargin = 6;
    std::string spacer;
    std::string gapa;
    std::string gapb;
    std::string emptynote;
};
extern playlayout layout;
playlayout makelayout(int lastvoice);
// The highest voice the screen shows: the tune's last, up to the ninth
// (three SIDs).
int shownlastvoice();

// Display counters, visible for tests.
extern uint32_t displaytick;
extern uint32_t lastscrolltick;
extern uint16_t scrollpos;

}  // namespace shell
