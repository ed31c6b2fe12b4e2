// Shared set-up of the AHX tests: synth tables built once, the player and
// the playback state reset, message boxes captured instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/playback.h"
#include "players/ahx/ahxbuilder.h"
#include "players/ahx/ahxsong.h"
#include "screen/console.h"
#include "synth/pd/record.h"

class AhxTest : public ::testing::Test {
protected:
    struct shown {
        std::string msg;
        uint8_t attr;
        bool wait;
    };
    std::vector<shown> messages;

    void SetUp() override
    {
        static bool tablesready = false;
        if (!tablesready) {
            synth::synthinit();
            tablesready = true;
        }
        screen::messagesink = [this](std::string_view msg, uint8_t attr, bool wait) {
            messages.push_back({std::string(msg), attr, wait});
        };
        core::cursong = 0;
        core::recording = false;
        core::quitplay = false;
        core::playedframes = 0;
        core::tickpos = 0;
        core::settickrate(50);
        ahx::ahxreset();
    }

    void TearDown() override { screen::messagesink = nullptr; }

    bool load(const ahxtest::module& m)
    {
        const std::vector<uint8_t> b = m.bytes();
        return ahx::ahxloadbytes(b.data(), b.size());
    }

    bool loadbytes(const std::vector<uint8_t>& b) { return ahx::ahxloadbytes(b.data(), b.size()); }

    // The one message of a failed load, or "" when none or several.
    std::string message() const { return messages.size() == 1 ? messages[0].msg : std::string(); }

    static ahx::ahxchannel& ch(int c) { return ahx::player.channels[static_cast<size_t>(c)]; }
    static synth::tvoice& voice(int c) { return synth::voices[static_cast<size_t>(c)]; }

    static void ticks(int n)
    {
        for (int i = 0; i < n; ++i) ahx::ahxtick();
    }

    // A sustained instrument at full volume: attack and decay of one tick to
    // 64, then a long sustain.
    static ahxtest::instrument fullinstrument(int wavelen = 2)
    {
        ahxtest::instrument in;
        in.name = "full";
        in.wavelen = wavelen;
        return in;
    }
};
