// sidlengths OUT.txt [OUT.txt ...] -- TUNE.sid SOURCE.a [TUNE.sid SOURCE.a ...]
//
// Writes the song-length database text for the given tunes to every OUT
// and removes a Songlengths.db beside it, which the player would otherwise
// keep using instead of the new text.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "sidlengths.h"

namespace fs = std::filesystem;

namespace {

bool readfile(const std::string& name, std::string& out) {
    std::ifstream in(name, std::ios::binary);
    if (!in)
        return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> outs, inputs;
    bool split = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--")
            split = true;
        else
            (split ? inputs : outs).push_back(a);
    }
    if (outs.empty() || inputs.empty() || inputs.size() % 2 != 0) {
        std::cerr << "usage: sidlengths OUT.txt... -- TUNE.sid SOURCE.a...\n";
        return 2;
    }

    std::string text = "; Subsong lengths of the tarplay demo tunes, made by the build.\n[Database]\n";
    for (size_t i = 0; i < inputs.size(); i += 2) {
        std::string sid, source;
        if (!readfile(inputs[i], sid) || !readfile(inputs[i + 1], source)) {
            std::cerr << "sidlengths: cannot read " << inputs[i] << " or " << inputs[i + 1] << "\n";
            return 1;
        }
        auto tune = sidlengths::readtune(std::vector<uint8_t>(sid.begin(), sid.end()));
        if (!tune) {
            std::cerr << "sidlengths: " << inputs[i] << " is not a PSID tune\n";
            return 1;
        }
        auto lengths = sidlengths::statedlengths(source);
        if (lengths.size() != tune->songs) {
            std::cerr << "sidlengths: " << inputs[i + 1] << " states " << lengths.size()
                      << " lengths for " << tune->songs << " songs\n";
            return 1;
        }
        for (const auto& l : lengths)
            if (!sidlengths::validlength(l)) {
                std::cerr << "sidlengths: bad length '" << l << "' in " << inputs[i + 1] << "\n";
                return 1;
            }
        text += "; /" + fs::path(inputs[i]).filename().string() + "\n";
        text += sidlengths::databaseline(tune->digest, lengths) + "\n";
    }

    for (const auto& out : outs) {
        std::ofstream o(out, std::ios::binary | std::ios::trunc);
        o << text;
        o.close();
        if (!o) {
            std::cerr << "sidlengths: cannot write " << out << "\n";
            return 1;
        }
        std::error_code ec;
        fs::remove(fs::path(out).parent_path() / "Songlengths.db", ec);
    }
    return 0;
}
