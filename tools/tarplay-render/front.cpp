// tarplay-render: tunes and whole folders of them rendered to sound files
// from the command line, each exactly as F2 records it, on every core.
//
// The players keep their state in globals and the three renderers define
// the same symbols, so the rendering happens in worker processes, one
// program's players each (tarplay-render-<program>, beside this program or
// in ../libexec/tarplay); this front end finds the tunes, hands them out,
// shows the progress and sums up.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "common/ascii.h"
#include "sink.h"

namespace fs = std::filesystem;

namespace {

const char* const usageline = "usage: tarplay-render [options] PATH...";

void printhelp()
{
    std::cout << usageline << "\n"
        "Renders tunes (.sid, .ahx) and folders of them, walked recursively, to sound\n"
        "files: each exactly what F2 in the player records for the same tune.\n"
        "\n"
        "  --program NAME  tarplay (default), tarplay8 or tarplay_pd: whose renderer\n"
        "                  and players, at that program's rate\n"
        "  --song N|all    subsong N (from 1), or every subsong to its own file;\n"
        "                  default: the first\n"
        "  --seconds S     length of every tune; default: as the player finds it\n"
        "                  (Songlengths.txt/.db here, the collection's\n"
        "                  Songlengths.md5, an AHX module's own length)\n"
        "  --fade S        fade out over the last S seconds of the length\n"
        "  --format F      wav (default) or flac"
#ifndef TARPLAY_FLAC
        " (this build writes WAV only)"
#endif
        "\n"
        "  -o DIR          write into DIR, mirroring the folders below each PATH;\n"
        "                  default: beside each tune\n"
        "  -j N            tunes rendered at once, each in a process of its own;\n"
#ifdef _WIN32
        "                  1 on Windows, where tunes are rendered one at a time\n"
#else
        "                  default: one per core\n"
#endif
        "  --force         render again what is already there (default: skip it,\n"
        "                  so an interrupted run resumes)\n"
        "  --seed N        noise table from N: the same bytes on every run\n"
        "  --help          this text\n"
        "\n"
        "Files are named as F2 names them (the tune's name, .wav or .flac), with\n"
        "the subsong's number (-01, -02, ...) for a tune of several subsongs.\n"
        "Exit status: 0 all rendered, 1 some tunes could not be, 2 usage error,\n"
        "130 interrupted.\n";
}

[[noreturn]] void usageerror(const std::string& what)
{
    std::cerr << "tarplay-render: " << what << "\n" << usageline << "\n(tarplay-render --help for more)\n";
    std::exit(2);
}

struct options {
    std::string program = "tarplay";
    std::string song = "0";
    std::string seconds, fade, seed;
    std::string format = "wav";
    std::optional<fs::path> outdir;
    int jobs = 0;
    bool force = false;
    std::vector<std::string> paths;
};

bool isnumber(const std::string& v, bool allowpoint)
{
    if (v.empty() || v.size() > 12) return false;
    bool point = false;
    for (char c : v) {
        if (c == '.' && allowpoint && !point) point = true;
        else if (c < '0' || c > '9') return false;
    }
    return v != ".";
}

options parseargs(int argc, char** argv)
{
    options o;
    bool paths = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (paths || a.empty() || a[0] != '-' || a == "-") {
            o.paths.push_back(a);
            continue;
        }
        if (a == "--") {
            paths = true;
            continue;
        }
        if (a == "--help" || a == "-h") {
            printhelp();
            std::exit(0);
        }
        if (a == "--force") {
            o.force = true;
            continue;
        }
        std::string v;
        const size_t eq = a.find('=');
        if (a.rfind("--", 0) == 0 && eq != std::string::npos) {
            v = a.substr(eq + 1);
            a.resize(eq);
        } else if ((a.rfind("-j", 0) == 0 || a.rfind("-o", 0) == 0) && a.size() > 2) {
            v = a.substr(2);
            a.resize(2);
        } else {
            if (i + 1 >= argc) usageerror(a + " needs a value");
            v = argv[++i];
        }
        if (a == "--program") {
            if (v != "tarplay" && v != "tarplay8" && v != "tarplay_pd") usageerror("no program \"" + v + "\"");
            o.program = v;
        } else if (a == "--song") {
            if (v != "all" && (!isnumber(v, false) || std::atoi(v.c_str()) < 1 || std::atoi(v.c_str()) > 256))
                usageerror("--song takes a number from 1 to 256 or \"all\"");
            o.song = v;
        } else if (a == "--seconds") {
            if (!isnumber(v, true) || std::atof(v.c_str()) <= 0 || std::atof(v.c_str()) > 86400)
                usageerror("--seconds takes a length above 0, at most 86400");
            o.seconds = v;
        } else if (a == "--fade") {
            if (!isnumber(v, true) || std::atof(v.c_str()) > 86400) usageerror("--fade takes a length in seconds");
            o.fade = v;
        } else if (a == "--seed") {
            if (!isnumber(v, false) || std::strtoull(v.c_str(), nullptr, 10) > 4294967295ull)
                usageerror("--seed takes a number from 0 to 4294967295");
            o.seed = v;
        } else if (a == "--format") {
            if (v == "flac" && !render::flacavailable)
                usageerror("this build writes WAV only (--format wav): it was made without libFLAC");
            if (v != "wav" && v != "flac") usageerror("--format takes wav or flac");
            o.format = v;
        } else if (a == "-o" || a == "--output") {
            if (v.empty()) usageerror("-o needs a folder");
            o.outdir = fs::path(v);
        } else if (a == "-j" || a == "--jobs") {
            if (!isnumber(v, false) || std::atoi(v.c_str()) < 1 || std::atoi(v.c_str()) > 1024)
                usageerror("-j takes a number from 1 to 1024");
            o.jobs = std::atoi(v.c_str());
        } else {
            usageerror("unknown option " + a);
        }
    }
    if (o.paths.empty()) usageerror("no tune or folder given");
    return o;
}

// A tune to render and where its files go (without the extension).
struct job {
    std::string tune;
    std::string base;
};

struct failure {
    std::string tune;
    std::string message;
};

// As the selector lists them: a file whose last four characters are ".SID"
// or ".AHX" in any case.
bool istune(const fs::path& p)
{
    const std::string tail = upcasedtail(p.filename().string());
    return tail == ".SID" || tail == ".AHX";
}

// F2's name for a tune's recording: its file name up to the last dot.
std::string stemof(const fs::path& tune)
{
    const std::string name = tune.filename().string();
    return name.substr(0, name.rfind('.'));
}

// The workers take their jobs as lines of two tab-separated fields.
bool passable(const job& j)
{
    return (j.tune + j.base).find_first_of("\t\n\r") == std::string::npos;
}

void findtunes(const options& o, std::vector<job>& jobs, std::vector<failure>& failures)
{
    for (const std::string& arg : o.paths) {
        const fs::path root(arg);
        std::error_code ec;
        const fs::file_status st = fs::status(root, ec);
        if (ec || !fs::exists(st)) {
            failures.push_back({arg, "no such file or folder"});
            continue;
        }
        if (!fs::is_directory(st)) {
            const fs::path dir = o.outdir ? *o.outdir : root.parent_path();
            jobs.push_back({root.string(), (dir / stemof(root)).string()});
            continue;
        }
        std::vector<job> found;
        fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec), end;
        for (; !ec && it != end; it.increment(ec)) {
            std::error_code fe;
            if (!it->is_regular_file(fe) || !istune(it->path())) continue;
            const fs::path& p = it->path();
            const fs::path dir = o.outdir ? *o.outdir / p.parent_path().lexically_relative(root) : p.parent_path();
            found.push_back({p.string(), (dir / stemof(p)).lexically_normal().string()});
        }
        if (ec) failures.push_back({arg, "cannot be read through: " + ec.message()});
        // In the order of their paths, so that runs go the same way.
        std::sort(found.begin(), found.end(), [](const job& a, const job& b) { return a.tune < b.tune; });
        jobs.insert(jobs.end(), found.begin(), found.end());
    }
    // A name with a tab or a line break in it is reported, not passed on.
    std::vector<job> kept;
    for (job& j : jobs) {
        if (passable(j)) kept.push_back(std::move(j));
        else failures.push_back({j.tune, "a tab or line break in its name or its output's: not rendered"});
    }
    jobs = std::move(kept);
}

// The worker for a program: beside this program (a build tree, the Windows
// folder) or in ../libexec/tarplay (an installed tree).
fs::path selfpath(const char* argv0)
{
#ifdef _WIN32
    char buf[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
    if (n > 0 && n < sizeof buf) return fs::path(std::string(buf, n));
#else
    std::error_code ec;
    const fs::path p = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) return p;
#endif
    return fs::absolute(argv0);
}

std::optional<fs::path> findworker(const fs::path& self, const std::string& program)
{
#ifdef _WIN32
    const std::string name = "tarplay-render-" + program + ".exe";
#else
    const std::string name = "tarplay-render-" + program;
#endif
    const fs::path dir = self.parent_path();
    for (const fs::path& p : {dir / name, dir / ".." / "libexec" / "tarplay" / name}) {
        std::error_code ec;
        if (fs::is_regular_file(p, ec)) return p;
    }
    return std::nullopt;
}

// Run totals and the progress line.
struct tally {
    size_t total = 0;
    size_t done = 0;
    size_t files = 0;
    size_t skipped = 0;
    double audio = 0;  // seconds rendered
    std::vector<failure> failures;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    bool terminal = false;
    bool lineshown = false;

    double elapsed() const
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
};

std::string clock(double seconds)
{
    const long s = static_cast<long>(seconds + 0.5);
    char buf[32];
    if (s >= 3600) std::snprintf(buf, sizeof buf, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
    else std::snprintf(buf, sizeof buf, "%ld:%02ld", s / 60, s % 60);
    return buf;
}

void showprogress(tally& t)
{
    if (!t.terminal) return;
    const double el = t.elapsed();
    std::string left = "--:--";
    if (t.done > 0) left = clock(el / static_cast<double>(t.done) * static_cast<double>(t.total - t.done));
    std::fprintf(stderr, "\r%zu/%zu tunes, %zu failed, %s of audio, %s elapsed, %s left\033[K", t.done, t.total,
                 t.failures.size(), clock(t.audio).c_str(), clock(el).c_str(), left.c_str());
    std::fflush(stderr);
    t.lineshown = true;
}

void clearprogress(tally& t)
{
    if (!t.lineshown) return;
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    t.lineshown = false;
}

// A worker's answer to a job.
void takeanswer(tally& t, const job& j, const std::string& line)
{
    ++t.done;
    std::vector<std::string> f;
    size_t at = 0;
    for (;;) {
        const size_t tab = line.find('\t', at);
        f.push_back(line.substr(at, tab - at));
        if (tab == std::string::npos) break;
        at = tab + 1;
    }
    if (f[0] == "done" && f.size() == 5) {
        t.files += std::strtoul(f[1].c_str(), nullptr, 10);
        t.skipped += std::strtoul(f[2].c_str(), nullptr, 10);
        const double rate = std::atof(f[4].c_str());
        if (rate > 0) t.audio += std::atof(f[3].c_str()) / rate;
    } else {
        t.failures.push_back({j.tune, f.size() > 1 ? f[1] : "the renderer gave no answer"});
    }
}

std::vector<std::string> workerargs(const options& o)
{
    std::vector<std::string> a = {"--format", o.format, "--song", o.song == "all" ? "all" : o.song};
    if (!o.seconds.empty()) a.insert(a.end(), {"--seconds", o.seconds});
    if (!o.fade.empty()) a.insert(a.end(), {"--fade", o.fade});
    if (!o.seed.empty()) a.insert(a.end(), {"--seed", o.seed});
    if (o.force) a.push_back("--force");
    return a;
}

volatile std::sig_atomic_t stopping = 0;

extern "C" void onstop(int)
{
    stopping = 1;
}

#ifdef _WIN32

// One worker, fed from a list of the jobs; its answers come through a pipe
// as it goes. Windows has no fork, and this keeps to one worker at a time.
bool runjobs(const fs::path& worker, const options& o, const std::vector<job>& jobs, tally& t)
{
    const std::vector<job>& todo = jobs;
    if (todo.empty()) return true;
    char tmp[MAX_PATH], name[MAX_PATH];
    if (!GetTempPathA(sizeof tmp, tmp) || !GetTempFileNameA(tmp, "tpr", 0, name)) return false;
    const std::string list = name;
    {
        std::FILE* f = std::fopen(list.c_str(), "wb");
        if (!f) return false;
        for (const job& j : todo) std::fprintf(f, "%s\t%s\n", j.tune.c_str(), j.base.c_str());
        std::fclose(f);
    }
    // The workers are built with SDL, whose start-up on Windows sends
    // standard output to a file unless told otherwise; their answers must
    // come through the pipe.
    _putenv("SDL_STDIO_REDIRECT=0");
    std::string cmd = "\"\"" + worker.string() + "\"";
    for (const std::string& a : workerargs(o)) cmd += " \"" + a + "\"";
    cmd += " --jobs \"" + list + "\"\"";
    std::FILE* p = _popen(cmd.c_str(), "r");
    if (!p) {
        std::remove(list.c_str());
        return false;
    }
    char buf[8192];
    size_t next = 0;
    while (!stopping && std::fgets(buf, sizeof buf, p)) {
        std::string line = buf;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        if (line == "ready") continue;
        if (next < todo.size()) takeanswer(t, todo[next++], line);
        showprogress(t);
    }
    _pclose(p);
    std::remove(list.c_str());
    for (; !stopping && next < todo.size(); ++next) takeanswer(t, todo[next], "fail\tthe renderer stopped");
    return true;
}

#else

struct workerproc {
    pid_t pid = -1;
    int in = -1;   // its stdin
    int out = -1;  // its stdout
    std::string pending;
    long job = -1;  // index of the job it has, -1: none
    bool ready = false;
};

bool startworker(const fs::path& worker, const std::vector<std::string>& args, workerproc& w)
{
    int tochild[2], fromchild[2];
    if (pipe2(tochild, O_CLOEXEC) != 0) return false;
    if (pipe2(fromchild, O_CLOEXEC) != 0) {
        close(tochild[0]);
        close(tochild[1]);
        return false;
    }
    std::vector<std::string> all = {worker.string()};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(tochild[0], 0);
        dup2(fromchild[1], 1);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(tochild[0]);
    close(fromchild[1]);
    if (pid < 0) {
        close(tochild[1]);
        close(fromchild[0]);
        return false;
    }
    w = workerproc{};
    w.pid = pid;
    w.in = tochild[1];
    w.out = fromchild[0];
    return true;
}

bool sendjob(workerproc& w, const job& j, long index)
{
    const std::string line = j.tune + "\t" + j.base + "\n";
    // Taken even if the write fails: the worker's end then fails the job.
    w.job = index;
    size_t sent = 0;
    while (sent < line.size()) {
        const ssize_t n = write(w.in, line.data() + sent, line.size() - sent);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

// Ends a worker's input and waits for it; its exit status.
int finishworker(workerproc& w)
{
    if (w.in >= 0) close(w.in);
    if (w.out >= 0) close(w.out);
    w.in = w.out = -1;
    int status = 0;
    while (waitpid(w.pid, &status, 0) < 0 && errno == EINTR) {
    }
    w.pid = -1;
    return status;
}

std::string howitended(int status)
{
    if (WIFSIGNALED(status)) return "the renderer ended on signal " + std::to_string(WTERMSIG(status));
    return "the renderer ended with status " + std::to_string(WEXITSTATUS(status));
}

bool runjobs(const fs::path& worker, const options& o, const std::vector<job>& jobs, tally& t)
{
    const std::vector<std::string> args = workerargs(o);
    const size_t count = std::min<size_t>(static_cast<size_t>(o.jobs), std::max<size_t>(jobs.size(), 1));
    std::vector<workerproc> workers(count);
    size_t next = 0;
    // The first worker alone until it is ready: it may build Songlengths.db
    // from Songlengths.txt, which the others then read.
    size_t started = 0;
    if (!startworker(worker, args, workers[0])) return false;
    started = 1;

    const auto handout = [&](workerproc& w) {
        w.job = -1;
        if (!stopping && next < jobs.size()) {
            const long index = static_cast<long>(next++);
            sendjob(w, jobs[static_cast<size_t>(index)], index);
            return;
        }
        // Nothing left: the end of its input ends it.
        if (w.in >= 0) close(w.in);
        w.in = -1;
    };

    for (;;) {
        std::vector<pollfd> fds;
        std::vector<size_t> owner;
        for (size_t i = 0; i < started; ++i)
            if (workers[i].out >= 0) {
                fds.push_back({workers[i].out, POLLIN, 0});
                owner.push_back(i);
            }
        if (fds.empty()) break;
        const int n = poll(fds.data(), fds.size(), 1000);
        if (stopping) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        showprogress(t);
        for (size_t k = 0; k < fds.size(); ++k) {
            if (!(fds[k].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            workerproc& w = workers[owner[k]];
            char buf[4096];
            const ssize_t got = read(w.out, buf, sizeof buf);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) {
                // The worker is gone: its tune failed, and a fresh worker
                // takes the rest.
                const long had = w.job;
                const bool wasready = w.ready;
                const int status = finishworker(w);
                if (!wasready) {
                    std::cerr << "tarplay-render: " << worker.string() << ": " << howitended(status) << "\n";
                    stopping = 2;
                    break;
                }
                if (had >= 0) takeanswer(t, jobs[static_cast<size_t>(had)], "fail\t" + howitended(status));
                if (had >= 0 && next < jobs.size() && !stopping) {
                    if (!startworker(worker, args, w)) return false;
                }
                continue;
            }
            w.pending.append(buf, static_cast<size_t>(got));
            for (size_t nl; (nl = w.pending.find('\n')) != std::string::npos;) {
                const std::string line = w.pending.substr(0, nl);
                w.pending.erase(0, nl + 1);
                if (line == "ready") {
                    w.ready = true;
                    if (&w == &workers[0])
                        for (; started < count; ++started)
                            if (!startworker(worker, args, workers[started])) return false;
                } else if (w.job >= 0) {
                    takeanswer(t, jobs[static_cast<size_t>(w.job)], line);
                    w.job = -1;
                }
                if (w.job < 0 && w.in >= 0) handout(w);
            }
            showprogress(t);
        }
    }
    // Interrupted: every worker is told (it removes its unfinished file),
    // then waited for.
    for (size_t i = 0; i < started; ++i)
        if (workers[i].pid > 0) {
            if (stopping) kill(workers[i].pid, SIGINT);
            finishworker(workers[i]);
        }
    return stopping != 2;
}

#endif

}  // namespace

int main(int argc, char** argv)
{
    options o = parseargs(argc, argv);
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    if (o.jobs == 0) o.jobs = static_cast<int>(cores);
#ifdef _WIN32
    o.jobs = 1;
#endif
    const std::optional<fs::path> worker = findworker(selfpath(argv[0]), o.program);
    if (!worker) {
        std::cerr << "tarplay-render: the renderer of " << o.program << " (tarplay-render-" << o.program
                  << ") is not installed beside this program\n";
        return 1;
    }

    tally t;
#ifdef _WIN32
    t.terminal = _isatty(_fileno(stderr));
#else
    t.terminal = isatty(2);
#endif
    std::vector<job> jobs;
    findtunes(o, jobs, t.failures);
    t.total = jobs.size();
    t.done = 0;

    std::signal(SIGINT, onstop);
    std::signal(SIGTERM, onstop);
#ifndef _WIN32
    // A worker that ends early must not end this program through its pipe.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    showprogress(t);
    const bool ran = runjobs(*worker, o, jobs, t);
    clearprogress(t);
    if (!ran) std::cerr << "tarplay-render: the renderer could not be run: " << worker->string() << "\n";

    std::printf("%zu of %zu tunes done: %zu files rendered (%s of audio), %zu already there, %zu failed, in %s\n",
                t.done, t.total, t.files, clock(t.audio).c_str(), t.skipped, t.failures.size(),
                clock(t.elapsed()).c_str());
    std::fflush(stdout);
    if (!t.failures.empty()) {
        std::fprintf(stderr, "could not be rendered:\n");
        for (const failure& f : t.failures) std::fprintf(stderr, "  %s: %s\n", f.tune.c_str(), f.message.c_str());
    }
    if (stopping == 1) {
        std::fprintf(stderr, "tarplay-render: interrupted; run it again to go on\n");
        return 130;
    }
    return t.failures.empty() && ran ? 0 : 1;
}
