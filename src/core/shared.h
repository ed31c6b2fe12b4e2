// Who touches what, on which thread. Everything the audio thread shares with
// the main thread is declared here, with its writers and the ordering that
// makes the sharing safe.
//
// The two threads: the main thread (selector, play screen, recorder, all
// drawing) and SDL's audio thread (the device callback, and through it the
// players' ticks and the renderer). The recorder drives the players and the
// renderer on the main thread, but only while the audio thread keeps away.
//
// Three kinds of sharing:
// - relaxed<T> (common/relaxed.h): a lock-free value that a reader may see
//   old or new; used where either is fine. Most have one writer; the few
//   with two say so below, and why a lost store is harmless.
// - handover<T>: a release store that hands a whole set of plain data to
//   the other thread, taken with an acquire load (the silent flag).
// - the SDL audio lock: taken and released once by the main thread after it
//   sets silent, so that a callback already under way has finished before
//   the main thread touches the player again. A device that is closed
//   (SDL_CloseAudio) has no callback left to wait for.
// Outside this file the audio thread also reads the synth's voice mute
// flags and wave parameters (relaxed, written by the play screen), and the
// play screen reads voice fields for display (relaxed, written by the
// players and the renderer); those live in the synth's own headers.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/relaxed.h"

namespace core {

// --- The hand-over -------------------------------------------------------

// true: the always-open device's callback writes zeros and touches no
// player or voice state. The main thread clears it (release) only once
// load has finished and the play screen is set up, which hands the
// player's and the voices' state to the audio thread (acquire); it sets it
// again, then takes the audio lock, before it calls stop or drives the
// player itself.
extern handover<bool> silent;

// --- Playback state ------------------------------------------------------

// The player slot in use. Written by the main thread while the audio thread
// keeps away (silent, or no device); read by the callback.
extern relaxed<uint8_t> curplayer;

// The subsong. Two writers: the play screen stores a change (Up/Down), a
// player's init on the audio thread stores the subsong it starts. A change
// stored while such an init runs can be overwritten and lost; the user
// presses the key again.
extern relaxed<uint8_t> cursong;
// The highest subsong. Written by load and by an init (audio thread), read
// by the play screen's keys.
extern relaxed<uint8_t> lastsong;

// The tick rate and what follows from it (settickrate). Written by load,
// and on the audio thread by a SID tune that reprograms its timer; read by
// the frame loop and the play screen.
extern relaxed<uint16_t> tickrate;
extern relaxed<uint32_t> samplespertick;
extern relaxed<uint8_t> scrollticks;

// The tick position. Two writers: the play screen stores a restart (0) or a
// skip, the tick contract (audio thread) the position at the end of every
// tick. A key's store that lands while a tick runs is overwritten by the
// tick's own and lost; that only means a key press without effect, which
// the user repeats, and the contract has no other channel for the request.
extern relaxed<uint32_t> tickpos;

// Frames played of the subsong. Two writers: the frame loop counts with a
// read-modify-write (add), so that the play screen's stores (restart,
// skip) are never undone by a frame counted meanwhile; a SID init on the
// audio thread stores 0.
extern relaxed<uint64_t> playedframes;
// The subsong's length in frames. Written by load and by an init.
extern relaxed<uint64_t> songframes;

// The information line. A plain string: written by load on the main thread
// while the audio thread keeps away; an init on the audio thread writes it
// only when it differs, which for the tune already loaded it never does, so
// the play screen's reads never meet a write.
extern std::string infotext;
extern relaxed<uint16_t> infolen;

// Ends the play screen's loop or the recording. Writers: the play screen
// (Escape), the recorder (a key, the record limit), and the tick contract
// on the audio thread (a tune that cannot go on; while recording, the end
// of the tune). The main thread clears it before the audio thread starts.
extern relaxed<bool> quitplay;

// The tune has reached its length during playback: raised by the tick
// contract (audio thread) on the tick where the tune's time first reaches its
// length, never while recording; taken by the play screen (main thread),
// which clears it, moves on to the next subsong or tune when continuous play
// is on, and otherwise leaves the tune playing. It carries no data, so a
// relaxed flag is enough; the play screen clears it before the audio thread
// starts and when it takes it, and a second raise can only come a whole
// subsong later.
extern relaxed<bool> tuneended;

// true while the recorder drives the player: the tick contract then ends
// the tune at its length. Written by the main thread while the audio
// thread keeps away; during playback a tune plays on past its length.
extern relaxed<bool> recording;

// --- The audio path ------------------------------------------------------

// The callback's frames to the next tick (audio thread; the main thread
// resets it only while no callback runs).
extern relaxed<uint16_t> tickcountdown;
// Frames of the most recent block. The silent callback goes on storing it
// while the recorder stores its own block size; either value is a whole
// block, and only the oscilloscope reads it.
extern relaxed<int32_t> blockframes;
// The left sample of every frame of the most recent block (audio thread, or
// the recorder), read by the oscilloscope.
extern std::array<relaxed<int16_t>, 65536> scopebuf;

// The always-open device's rate measurement and uptime (its callback
// writes them, the play screen reads them).
extern relaxed<uint32_t> secondticks;
extern relaxed<uint32_t> secondframes;
extern relaxed<uint32_t> measuredrate;
extern relaxed<uint32_t> uptimeframes;  // saturates at 4294967295

// --- Messages ------------------------------------------------------------

// A message raised on the audio thread (which must never wait for a key) is
// posted here and shown by the main thread. One slot, lock-free: the writer
// claims it (acquire), fills it and marks it ready (release); the reader
// claims a ready slot (acquire), copies it and frees it (release). While a
// message waits, a newer one is dropped.
void postmessage(const std::string& msg);
bool takemessage(std::string& msg);

}  // namespace core
