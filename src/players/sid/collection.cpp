#include "players/sid/collection.h"

#include <system_error>

namespace sid {

namespace fs = std::filesystem;

bool loadfromstart(const fs::path& start, const char* name, collectionloader load)
{
    return load(start / name, start) || load(start / hvscdocsdir / name, start);
}

bool loadabove(const fs::path& dir, const char* name, collectionloader load)
{
    std::error_code ec;
    fs::path p = fs::absolute(dir, ec);
    if (ec) return false;
    // The collection keeps its DOCUMENTS folder at its root, some levels
    // above the tunes.
    for (;;) {
        if (load(p / hvscdocsdir / name, p)) return true;
        fs::path parent = p.parent_path();
        if (parent.empty() || parent == p) return false;
        p = std::move(parent);
    }
}

}  // namespace sid
