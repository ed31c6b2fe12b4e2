// How the PSID loader finds a tune's data and its length, chosen at link
// time: the version checked and the lengths looked up in the song-length
// files (tarplay, tarplay8: sidload_withlengths.cpp), or no version check,
// single-byte header fields and every subsong five minutes long
// (tarplay_pd: sidload_fiveminutes.cpp).
#pragma once

#include <cstdint>
#include <string>

namespace sid {

// Module start-up after registration: the song-length databases, or none.
void sidloadinit();

// Whether a file's magic is one this loader plays, the message for one it
// does not, whether the header's second and third SID addresses are heard,
// whether a header version is played, where the tune data starts (header: the first 118
// bytes), and the lookup of the loaded tune's subsong lengths.
bool magicaccepted(const std::string& magic);
std::string badformatmessage(const std::string& magic);
bool extrachipsheard();
bool versionaccepted(uint16_t version);
uint16_t dataoffsetof(const uint8_t* header);
void looklengths();
// The length of subsong song, once its init has set the tick rate.
void setsonglength(uint8_t song);

}  // namespace sid
