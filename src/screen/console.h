// The 80-column text console: cursor, colour, text and cell operations on
// textscreen, number helpers and the centred message box.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace screen {

extern uint8_t curx;     // 0..79
extern uint8_t cury;
extern uint8_t curattr;  // 0x0F

// Byte 255 followed by an attribute byte changes curattr without drawing.
void conwrite(std::string_view s);
void conwriteln(std::string_view s);
void conwriteat(int x, int y, std::string_view s);
void connewline();
void congotoxy(int x, int y);
void conclear();
void conclreol();

void conputchar(int x, int y, uint16_t code);
void conputcell(int x, int y, uint16_t value);  // low byte glyph, high byte attribute
void conplot(int x, int y, uint8_t colour);     // half-block grid of 80 x 2*rows
void confillrows(int row, int count, uint8_t attr);
void conrowattr(int row, uint8_t attr);
void conclearbg(int row, int count);
void conshiftleft(int row);
void conscrollup(int row, int count);

std::string inttostr(int32_t v, int width = 0);
void upcase(std::string& s);

// The centred one-line message box; waits for a key or mouse press if wait.
void messagebox(std::string_view msg, uint8_t attr, bool wait);

// Test seam: when set, messagebox hands its arguments here instead of
// drawing and waiting.
extern std::function<void(std::string_view msg, uint8_t attr, bool wait)> messagesink;

// Cursor to (0, 0), curattr 0x0F, messagesink unset.
void conreset();

}  // namespace screen
