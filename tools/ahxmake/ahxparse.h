// Reads a module description: a line-based text that names the song's
// settings, instruments, tracks and positions. The language is described in
// tools/ahxmake/README.md; in short:
//
//   title "Song"            revision 0|1      speedmul 1..4
//   restart POS             tracklen 1..64    subsong POS   (once per subsong)
//   instrument N "Name"     ... end           (N = 1..63, numbered without gaps)
//       volume V  wavelen W  attack F V  decay F V  sustain F  release F V
//       filter LOW HIGH SPEED  square LOW HIGH SPEED  vibrato DELAY DEPTH SPEED
//       hardcut FRAMES [release]
//       plist SPEED ... end     rows: NOTE WAVE CMD1 CMD2
//   track N ... end         rows: [ROW:] NOTE [INSTR [CMD]]
//   positions ... end       rows: TRACK TRANSPOSE x 4
//
// '#' starts a comment. Every error names the line it was found on.
#pragma once

#include <string>

#include "ahxdesc.h"

namespace ahxmake {

struct parseerror {
    int line = 0;         // 1-based; 0 when the error belongs to no line
    std::string message;
};

// Fills m from text. False with the first error found; m is then partly
// filled and must not be written.
bool parsedescription(const std::string& text, moduledesc& m, parseerror& err);

// "C-1" .. "B-5" -> 1 .. 60 (also C#1, lower case letters); -1 if not a note.
int notefromname(const std::string& name);

// 1 .. 60 -> "C-1" .. "B-5"; "---" for 0 and anything out of range.
std::string notename(int note);

}  // namespace ahxmake
