#include "selector/dirlist.h"

#include <algorithm>
#include <utility>

#include "core/playback.h"
#include "common/ioerror.h"
#include "selector/direnum.h"
#include "selector/selector.h"
#include "screen/video.h"

namespace selector {

tdirarr dirlist(dirarrsize);
int32_t dircount = 0;
std::string startdir;

namespace {

constexpr size_t dirlabeltext = 74;   // "<" + 74 + ".." + ">" = 78
constexpr size_t filelabeltext = 76;  // 76 + ".." = 78

std::string cutlabel(const std::string& text, size_t keep)
{
    if (text.size() <= keep) return text;
    return text.substr(0, keep) + "..";
}

void append(uint8_t isdir, const std::string& name, std::string label)
{
    if (static_cast<size_t>(dircount) >= dirlist.size())
        dirlist.resize(std::max<size_t>(2 * dirlist.size(), dirarrsize));
    dirrec& e = dirlist[static_cast<size_t>(dircount)];
    e.isdir = isdir;
    e.name = name;
    e.label = std::move(label);
    ++dircount;
}

}  // namespace

splitparts splitpath(const std::string& path)
{
    splitparts parts;
    std::string rest = path;
    for (char& c : rest)
        if (c == '/') c = '\\';

    // A drive letter keeps only the first character in front of its colon.
    const size_t colon = rest.find(':');
    if (colon != std::string::npos) {
        parts.dir = std::string(1, rest[0]) + ":";
        rest.erase(0, colon + 1);
    }
    const size_t slash = rest.rfind('\\');
    if (slash != std::string::npos) {
        parts.dir += rest.substr(0, slash + 1);
        rest.erase(0, slash + 1);
    }
    const size_t dot = rest.rfind('.');
    if (dot != std::string::npos) {
        parts.name = rest.substr(0, dot);
        parts.ext = rest.substr(dot);
    } else {
        parts.name = rest;
    }
    return parts;
}

std::string displayname(const std::string& name)
{
    const splitparts parts = splitpath(name);
    return parts.name + parts.ext;
}

void readdirs(const std::vector<direntry>& entries)
{
    for (const direntry& e : entries) {
        if (!e.isdir) continue;
        if (e.name == ".") continue;
        const std::string text = e.name == ".." ? std::string("..") : cutlabel(displayname(e.name), dirlabeltext);
        append(1, e.name, "<" + text + ">");
    }
}

void readfiles(const std::vector<direntry>& entries, const std::string& ext)
{
    for (const direntry& e : entries) {
        if (e.isdir) continue;
        if (upcasedtail(e.name) != ext) continue;
        append(0, e.name, cutlabel(displayname(e.name), filelabeltext));
    }
}

bool direntryafter(const dirrec& a, const dirrec& b)
{
    if (a.label == "<..>") return false;
    if (b.label == "<..>") return true;
    if (a.isdir != b.isdir) return a.isdir < b.isdir;
    // Compared in place: the sort runs this about a million times on a
    // folder of 50,000 entries, and copying both labels would dominate.
    const std::string& x = a.label;
    const std::string& y = b.label;
    const size_t n = x.size() < y.size() ? x.size() : y.size();
    for (size_t i = 0; i < n; ++i) {
        const uint8_t cx = upcasebyte(static_cast<uint8_t>(x[i]));
        const uint8_t cy = upcasebyte(static_cast<uint8_t>(y[i]));
        if (cx != cy) return cx > cy;
    }
    return x.size() > y.size();
}

void sortdirlist(int32_t n)
{
    // The order is a strict weak one, so a stable sort gives exactly what
    // exchanging neighbours until none is out of order would, in n log n.
    const size_t count = n > 0 ? std::min(static_cast<size_t>(n), dirlist.size()) : 0;
    std::stable_sort(dirlist.begin(), dirlist.begin() + static_cast<std::ptrdiff_t>(count),
                     [](const dirrec& a, const dirrec& b) { return direntryafter(b, a); });
}

void builddirlist()
{
    dircount = 0;
    const std::vector<direntry> entries = enumeratedir();
    readdirs(entries);
    for (const auto& p : core::players)
        if (p.active) readfiles(entries, p.ext);
    if (dircount > 1) sortdirlist(dircount);
}

void selectorinit()
{
    dirlist.assign(dirarrsize, dirrec{});
    if (!getworkdir(startdir)) ioerror("getcwd");
    holdworkdir();
    builddirlist();
    selresult = 0;
    quickstr.clear();
    quickpos = 0;
    selpos = 0;
    selrow = static_cast<uint8_t>(screen::screenrows / 2);
}

void selectordone()
{
    if (!returntoheldworkdir(startdir)) ioerror("chdir " + startdir);
}

}  // namespace selector
