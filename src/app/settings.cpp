#include "app/settings.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "common/files.h"
#include "common/lines.h"

namespace settings {

tsettings current;

namespace {

// What may stand around a name or a value.
constexpr std::string_view blanks = " \t\r";

namespace fs = std::filesystem;

// The file holds a few short lines; anything larger is not ours.
constexpr size_t maxfilesize = 4096;

// "1"/"on"/"yes" and "0"/"off"/"no"; false when the value is neither.
bool readflag(std::string_view value, bool& out)
{
    if (value == "1" || value == "on" || value == "yes") {
        out = true;
        return true;
    }
    if (value == "0" || value == "off" || value == "no") {
        out = false;
        return true;
    }
    return false;
}

fs::path fromenv(const char* name)
{
    const char* v = std::getenv(name);
    if (!v || !*v) return {};
    return fs::path(v);
}

}  // namespace

fs::path settingsfile()
{
#ifdef _WIN32
    fs::path base = fromenv("APPDATA");
#else
    fs::path base = fromenv("XDG_CONFIG_HOME");
    // XDG_CONFIG_HOME counts only as an absolute path; a relative one is
    // passed over, as other desktop programs do.
    if (!base.empty() && base.is_relative()) base.clear();
    if (base.empty()) {
        const fs::path home = fromenv("HOME");
        if (!home.empty()) base = home / ".config";
    }
#endif
    if (base.empty()) return {};
    return base / "tarplay" / "settings";
}

tsettings parsesettings(std::string_view text)
{
    tsettings s;
    std::string_view raw;
    for (size_t pos = 0; nextline(text, pos, raw);) {
        const std::string_view line = trimmed(raw, blanks);
        if (line.empty() || line[0] == '#') continue;
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view name = trimmed(line.substr(0, eq), blanks);
        const std::string_view value = trimmed(line.substr(eq + 1), blanks);
        if (name == "continuous") readflag(value, s.continuous);
        if (name == "fullscreen") readflag(value, s.fullscreen);
        if (name == "scale" && value.size() == 1 && value[0] >= '1' && value[0] <= '4') s.scale = value[0] - '0';
    }
    return s;
}

std::string formatsettings(const tsettings& s)
{
    std::string t = "# tarplay's settings, written by the program\n";
    if (s.scale >= 1 && s.scale <= 4) t += "scale=" + std::to_string(s.scale) + "\n";
    t += std::string("fullscreen=") + (s.fullscreen ? "1" : "0") + "\n";
    t += std::string("continuous=") + (s.continuous ? "1" : "0") + "\n";
    return t;
}

void loadsettings()
{
    current = tsettings{};
    const fs::path file = settingsfile();
    std::string text;
    if (file.empty() || !readwholefile(file, maxfilesize, text)) return;
    current = parsesettings(text);
}

bool savesettings()
{
    const fs::path file = settingsfile();
    if (file.empty()) return false;
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    if (ec) return false;
    std::string temp;
    std::FILE* f = createbeside(file.string(), temp);
    if (!f) return false;
    const std::string text = formatsettings(current);
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = std::fclose(f) == 0 && ok;
    if (ok) ok = replacefile(temp, file.string());
    if (!ok) fs::remove(temp, ec);
    return ok;
}

}  // namespace settings
