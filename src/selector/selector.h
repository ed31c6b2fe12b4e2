// The selector screen: the listing as a centred column under a fixed cursor
// bar, with its keys, mouse buttons and type-to-find.
#pragma once

#include <cstdint>
#include <string>

namespace selector {

// Signed 32 bits: a folder may list any number of entries, and sellast is -1
// for an empty list.
extern int32_t selpos;
extern int32_t sellast;
extern uint8_t selrow;
extern uint8_t selresult;  // 0 nothing, 1 directory changed, 13 chosen, 27 leave
extern std::string quickstr;
extern int32_t quickpos;
extern bool recordrequest;

// The line drawn over the list: the program's title line, set at start-up.
extern std::string titleline;

// Runs the screen until a tune is chosen (true) or the user leaves (false);
// writes filename, songname, songext and curplayer of the playback state
// from the entry under the cursor in both cases.
bool fileselector(std::string& filename);

void drawselector();
void drawlistline(int row, const std::string& text, uint8_t isdir, bool cursorok);
// Hands back the current directory as previous and changes into name; a
// change that fails leaves the working directory as it was.
void changedir(const std::string& name, std::string& previous);
void enterdir();
void quicksearch(char ch);

// Continuous play: moves the cursor to the next file after it in the
// listing (folders are passed over) and writes filename, songname, songext
// and curplayer as choosing it would; false (nothing changed) when no file
// follows.
bool selectnextfile(std::string& filename);

// Handles one taken event (key or mouse-button press) as the loop does.
void selectorevent();

}  // namespace selector
