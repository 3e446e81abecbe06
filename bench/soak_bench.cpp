// Soak benchmark probe: runs the real cirrane.scr for a long time and watches it from
// outside, the way a resource monitor would.
//
//   soak_bench <cirrane.scr> </s | /t> <minutes> <fps trace file> [sample seconds]
//
// Every sample (default 10 s) prints the saver's private bytes and working set, its GDI
// and USER object counts, its handle count and the frames it has presented so far.
// Wine answers some of these only for the calling process (private bytes, handles) or not
// at all (GDI and USER objects); there the figures come from the saver's Unix process
// instead, found by its command line: anonymous resident memory for private
// bytes, resident memory for the working set, open file descriptors for handles, and
// threads in place of USER objects (GDI stays 0). The frames come from Wine's fps trace,
// which the saver writes to the Unix standard error that bench/soak.sh sends to the trace
// file: each report gives the rate since the last one, and rate x interval adds up to the
// frames presented. At the end the saver is ended the way
// a user ends it (a key; the close command for the test window), and the growth per hour
// after the first minute and over the second half of the run is printed: the slope of a
// least-squares line through those samples, memory as a share of its mean, counts as a
// number.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "unix_process.h"

namespace {

const char kSaverClass[] = "Cirrane ScreensaverWndClass";
const double kSettleSeconds = 60.0;   // growth is measured after the first minute

struct Sample {
    double seconds;
    double privateBytes, workingSet;
    double gdiObjects, userObjects, handles;
    double frames;
};

double Now() {
    LARGE_INTEGER counter, frequency;
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

// ---- Frames from the fps trace -------------------------------------------------------------

// Reads what the trace file gained since the last call; each "present ... approx 59.98fps"
// line adds the frames of the interval since the previous one.
class FrameCounter {
public:
    explicit FrameCounter(const char* path)
        : file_(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr)) {}
    ~FrameCounter() {
        if (Readable()) ::CloseHandle(file_);
    }
    bool Readable() const { return file_ != INVALID_HANDLE_VALUE; }
    double Frames() {
        char buffer[4096];
        DWORD got = 0;
        while (Readable() && ::ReadFile(file_, buffer, sizeof(buffer), &got, nullptr) && got) {
            for (DWORD i = 0; i < got; i++) {
                if (buffer[i] != '\n') {
                    if (line_.size() < 1024) line_ += buffer[i];
                    continue;
                }
                Count(line_.c_str());
                line_.clear();
            }
        }
        return frames_;
    }

private:
    void Count(const char* line) {
        const char* approx = std::strstr(line, "approx ");
        if (!approx || !std::strstr(line, "present")) return;
        double now = Now();
        if (lastReport_ > 0.0) frames_ += std::atof(approx + 7) * (now - lastReport_);
        lastReport_ = now;
    }

    HANDLE file_;
    std::string line_;
    double frames_ = 0.0, lastReport_ = 0.0;
};

// ---- The saver's Unix process --------------------------------------------------------------

// The saver's Unix process: the newest one whose command line names the .scr and the
// switch and is not this probe's, or -1.
int UnixSaverProcess(const char* scr, const char* sw) {
    const char* name = std::strrchr(scr, '\\');
    name = name ? name + 1 : scr;
    return FindUnixProcess([name, sw](const char* commandLine) {
        return std::strstr(commandLine, name) && std::strstr(commandLine, sw) &&
               !std::strstr(commandLine, "soak_bench");
    });
}

// Resident and anonymous resident KiB and threads from /proc/<pid>/status.
void UnixMemory(int pid, double* residentKiB, double* anonymousKiB, double* threads) {
    std::string path = "Z:\\proc\\" + std::to_string(pid) + "\\status";
    FILE* file = std::fopen(path.c_str(), "r");
    char line[256];
    while (file && std::fgets(line, sizeof(line), file)) {
        std::sscanf(line, "VmRSS: %lf", residentKiB);
        std::sscanf(line, "RssAnon: %lf", anonymousKiB);
        std::sscanf(line, "Threads: %lf", threads);
    }
    if (file) std::fclose(file);
}

double UnixDescriptors(int pid) {
    std::string pattern = "Z:\\proc\\" + std::to_string(pid) + "\\fd\\*";
    WIN32_FIND_DATAA entry;
    HANDLE search = ::FindFirstFileA(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return 0.0;
    double count = 0.0;
    do {
        if (entry.cFileName[0] != '.') count += 1.0;
    } while (::FindNextFileA(search, &entry));
    ::FindClose(search);
    return count;
}

// ---- Sampling ----------------------------------------------------------------------------------

bool TakeSample(HANDLE process, int unixPid, FrameCounter& frames, double seconds,
                Sample* sample) {
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof(memory);
    if (!::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                                sizeof(memory)))
        return false;
    DWORD handles = 0;
    ::GetProcessHandleCount(process, &handles);
    sample->seconds = seconds;
    sample->privateBytes = double(memory.PrivateUsage);
    sample->workingSet = double(memory.WorkingSetSize);
    sample->gdiObjects = double(::GetGuiResources(process, GR_GDIOBJECTS));
    sample->userObjects = double(::GetGuiResources(process, GR_USEROBJECTS));
    sample->handles = double(handles);
    if (unixPid > 0) {
        double resident = 0, anonymous = 0, threads = 0;
        UnixMemory(unixPid, &resident, &anonymous, &threads);
        if (sample->privateBytes == 0) sample->privateBytes = anonymous * 1024.0;
        if (sample->workingSet == 0) sample->workingSet = resident * 1024.0;
        if (sample->userObjects == 0) sample->userObjects = threads;
        if (sample->handles == 0) sample->handles = UnixDescriptors(unixPid);
    }
    sample->frames = frames.Frames();
    return true;
}

// Slope per hour of a least-squares line through the samples from `from` seconds on.
double GrowthPerHour(const std::vector<Sample>& samples, double Sample::*field, double from) {
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const Sample& s : samples) {
        if (s.seconds < from) continue;
        double x = s.seconds / 3600.0, y = s.*field;
        n += 1;
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
    }
    double d = n * sxx - sx * sx;
    return n >= 2 && d > 0 ? (n * sxy - sx * sy) / d : 0.0;
}

double MeanFrom(const std::vector<Sample>& samples, double Sample::*field, double from) {
    double n = 0, sum = 0;
    for (const Sample& s : samples)
        if (s.seconds >= from) n += 1, sum += s.*field;
    return n > 0 ? sum / n : 0.0;
}

void PrintGrowth(const std::vector<Sample>& samples, const char* over, double from) {
    auto percent = [&](double Sample::*field) {
        double mean = MeanFrom(samples, field, from);
        return mean > 0 ? 100.0 * GrowthPerHour(samples, field, from) / mean : 0.0;
    };
    std::printf("growth per hour %s: private %+.2f%%  working set %+.2f%%"
                "  GDI %+.1f  USER %+.1f  handles %+.1f\n", over,
                percent(&Sample::privateBytes), percent(&Sample::workingSet),
                GrowthPerHour(samples, &Sample::gdiObjects, from),
                GrowthPerHour(samples, &Sample::userObjects, from),
                GrowthPerHour(samples, &Sample::handles, from));
}

// ---- The run -----------------------------------------------------------------------------------

HWND FindSaverWindow(DWORD processId) {
    struct Search {
        DWORD processId;
        HWND found;
    } search = {processId, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            char name[64] = {};
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            ::GetClassNameA(window, name, sizeof(name));
            if (owner != s->processId || std::strcmp(name, kSaverClass) != 0) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int Soak(const char* scr, const char* sw, double minutes, const char* tracePath, double every) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    std::string commandLine = std::string("\"") + scr + "\" " + sw;
    PROCESS_INFORMATION saver = {};
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &saver)) {
        std::printf("cannot start %s\n", commandLine.c_str());
        return 1;
    }
    FrameCounter frames(tracePath);
    int unixPid = -1;
    for (int i = 0; i < 50 && unixPid < 0; i++, ::Sleep(100)) unixPid = UnixSaverProcess(scr, sw);

    std::printf("soak %s %s for %.1f min, a sample every %.0f s\n", scr, sw, minutes, every);
    if (!frames.Readable()) std::printf("the fps trace %s cannot be read: no frame counts\n", tracePath);
    if (unixPid < 0) std::printf("the saver's Unix process is not to be found: Wine's figures only\n");
    std::printf("%7s %12s %12s %5s %5s %7s %9s\n", "seconds", "private KiB", "working KiB",
                "GDI", "USER", "handles", "frames");
    std::vector<Sample> samples;
    double start = Now();
    bool ended = false;
    for (double next = 0.0; next <= minutes * 60.0 + 0.001; next += every) {
        double wait = next - (Now() - start);
        if (wait > 0 && ::WaitForSingleObject(saver.hProcess, DWORD(wait * 1000.0)) == WAIT_OBJECT_0) {
            ended = true;
            break;
        }
        Sample sample;
        if (!TakeSample(saver.hProcess, unixPid, frames, Now() - start, &sample)) break;
        samples.push_back(sample);
        std::printf("%7.0f %12.0f %12.0f %5.0f %5.0f %7.0f %9.0f\n", sample.seconds,
                    sample.privateBytes / 1024.0, sample.workingSet / 1024.0, sample.gdiObjects,
                    sample.userObjects, sample.handles, sample.frames);
        std::fflush(stdout);
    }
    if (ended) std::printf("the saver ended by itself during the run\n");

    // End it as a user would: a key for full screen, the close command for the test window.
    HWND window = FindSaverWindow(saver.dwProcessId);
    if (window && std::strcmp(sw, "/t") == 0)
        ::PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    else if (window)
        ::PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    DWORD code = 1;
    if (::WaitForSingleObject(saver.hProcess, 30000) != WAIT_OBJECT_0) {
        std::printf("the saver did not end within 30 s of the key; terminated\n");
        ::TerminateProcess(saver.hProcess, 1);
    }
    ::GetExitCodeProcess(saver.hProcess, &code);
    ::CloseHandle(saver.hThread);
    ::CloseHandle(saver.hProcess);

    // Wine's Direct3D fills its command ring for the first time over the first few thousand
    // frames, minutes at a software renderer's rate: the second half shows the run once
    // that is done.
    PrintGrowth(samples, "after the first minute", kSettleSeconds);
    if (!samples.empty()) PrintGrowth(samples, "over the second half", samples.back().seconds / 2);
    std::printf("exit code %lu\n", code);
    return ended || code != 0 ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5 || (std::strcmp(argv[2], "/s") != 0 && std::strcmp(argv[2], "/t") != 0)) {
        std::fprintf(stderr, "usage: soak_bench <cirrane.scr> </s | /t> <minutes> <fps trace file>"
                             " [sample seconds]\n");
        return 2;
    }
    double minutes = std::atof(argv[3]), every = argc > 5 ? std::atof(argv[5]) : 10.0;
    if (minutes <= 0.0 || every <= 0.0) {
        std::fprintf(stderr, "soak_bench: minutes and sample seconds must be positive\n");
        return 2;
    }
    return Soak(argv[1], argv[2], minutes, argv[4], every);
}
