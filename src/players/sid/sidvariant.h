// Where the SID player of tarplay_pd differs from that of tarplay and
// tarplay8, chosen at link time: sidvariant_full.cpp or sidvariant_pd.cpp.
#pragma once

#include <cstdint>
#include <string>

namespace sid {

// Module start-up after registration: the song-length databases, or none.
void sidvariantinit();

// The loader: the message for a file whose magic is not "PSID", whether a
// header version is played, where the tune data starts (header: the first
// 118 bytes), and the lookup of the loaded tune's subsong lengths.
std::string badformatmessage(const std::string& magic);
bool versionaccepted(uint16_t version);
uint16_t dataoffsetof(const uint8_t* header);
void looklengths();
// The length of subsong song, once its init has set the tick rate.
void setsonglength(uint8_t song);

// The register model: a control-register write of voice v, whether a
// frequency write of the voice whose registers start at base counts,
// whether voice v is switched off by the play screen, the cutoff table's
// entry for cutoff c, and what happens just before a play call.
void controlwrite(int v, uint8_t value);
bool frequencyaccepted(int base);
bool voiceswitchedoff(int v);
uint8_t cutoffentry(int c);
void beforeplay();

}  // namespace sid
