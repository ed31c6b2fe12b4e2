// Continuous play: when it is on and a tune reaches its length, the next
// subsong plays, after the last subsong the next tune of the selector's
// listing, after the last tune the selector returns with its cursor on the
// tune that played last. Whether it is on is a setting (app/settings.h).
#pragma once

namespace shell {

// The play screen's key: on becomes off and off on; the setting is saved.
void togglecontinuous();
bool continuouson();

// On the main thread, once a pass of the play screen: takes the tick
// contract's tuneended; with continuous play on, asks for the next subsong,
// or ends the play screen and asks for the next tune.
void continuousstep();

// After the play screen has ended: when the next tune was asked for, moves
// the selector's cursor on to the next file that loads (those that fail
// are passed over without waiting for a key) and starts it as playstart
// does; false, with the cursor back on the tune that played last, when
// none was asked for or none follows.
bool playnexttune();

// The play screens that follow one another while continuous play asks.
void playonwards();

}  // namespace shell
