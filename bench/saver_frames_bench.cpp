// Benchmark: frames per second, CPU time per frame and time from process start to the
// first presented frame of the saver in its test window (/t) and in full screen (/s),
// beside a floor: the same host, device and idle loop with a frame that only clears.
// The start is split in three: Create (windows, Direct3D, enumeration), the scene's device
// objects (geometry and textures; none for the floor) and the rest up to the first
// presented frame (devices, the first frame). Floor and scene runs alternate, so that a
// change in the machine's load falls on both.
//
//   saver_frames_bench [seconds per run] [runs]
//
// Needs an X display (the figures in the notes are from Xvfb at 1280 x 1024, Wine's
// Direct3D on Mesa's software rasterizer). Every run is a child process of this program,
// since the saver is one per process: "saver_frames_bench child <scene|floor> <seconds> /t
// <token>".
// CPU time is read from /proc for the whole process (Mesa's rasterizer threads included),
// so the X server's own share is not in it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "scene/sky_scene.h"
#include "unix_process.h"

namespace {

const double kWarmUpSeconds = 1.0;

double Now() {
    LARGE_INTEGER counter, frequency;
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

// The Unix process of this program: the one whose command line holds this run's token.
int UnixProcessId(const char* token) {
    return FindUnixProcess([token](const char* commandLine) {
        return std::strstr(commandLine, token) && std::strstr(commandLine, "saver_frames_bench");
    });
}

int unixProcessId = -1;

// CPU seconds of the whole Unix process (all threads, Mesa's rasterizer threads too), or
// of the threads Wine knows when /proc cannot be read.
double ProcessCpuSeconds() {
    char path[64];
    std::snprintf(path, sizeof(path), "Z:\\proc\\%d\\stat", unixProcessId);
    FILE* stat = unixProcessId > 0 ? std::fopen(path, "r") : nullptr;
    if (stat) {
        char text[1024] = {};
        size_t length = std::fread(text, 1, sizeof(text) - 1, stat);
        std::fclose(stat);
        text[length] = '\0';
        const char* rest = std::strrchr(text, ')');
        unsigned long user = 0, system = 0;
        if (rest && std::sscanf(rest + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu",
                                &user, &system) == 2)
            return double(user + system) / 100.0;
    }
    FILETIME creation, exit, kernel, user;
    ::GetProcessTimes(::GetCurrentProcess(), &creation, &exit, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
}

double SecondsSinceProcessStart() {
    FILETIME creation, exit, kernel, user, now;
    ::GetProcessTimes(::GetCurrentProcess(), &creation, &exit, &kernel, &user);
    ::GetSystemTimeAsFileTime(&now);
    auto ticks = [](const FILETIME& t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return double(ticks(now) - ticks(creation)) * 1e-7;
}

// ---- The two programs measured -------------------------------------------------------

// The floor: Saver's own device and loop, a frame that only clears (Present is the loop's).
class FloorSaver : public Saver {
public:
    HRESULT DrawScene() override {
        if (!activeDevice) return S_OK;
        return activeDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER,
                                   D3DCOLOR_XRGB(0, 0, 64), 1.0f, 0);
    }
};

struct Figures {
    double firstFrameSeconds = 0.0, createdSeconds = 0.0, objectsSeconds = 0.0;
    double measureStart = 0.0, measureEnd = 0.0;
    double cpuStart = 0.0, cpuEnd = 0.0;
    unsigned framesAtStart = 0, framesAtEnd = 0;
};
Figures figures;
unsigned frames = 0;
double measureSeconds = 5.0;
Saver* running = nullptr;

// Counts frames at their start: the second frame begins once the first is presented.
template <class Base>
class Measured : public Base {
public:
    HRESULT Create(HINSTANCE instance) override {
        HRESULT result = Base::Create(instance);
        figures.createdSeconds = SecondsSinceProcessStart();
        return result;
    }
    HRESULT RestoreSceneObjects() override {
        double start = Now();
        HRESULT result = Base::RestoreSceneObjects();
        figures.objectsSeconds += Now() - start;
        return result;
    }
    HRESULT AdvanceScene() override {
        frames++;
        if (frames == 2) figures.firstFrameSeconds = SecondsSinceProcessStart();
        return Base::AdvanceScene();
    }
};

void CALLBACK StartMeasuring(HWND, UINT, UINT_PTR timer, DWORD);
void CALLBACK StopMeasuring(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    figures.measureEnd = Now();
    figures.cpuEnd = ProcessCpuSeconds();
    figures.framesAtEnd = frames;
    running->EndSaver();
}
void CALLBACK StartMeasuring(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    figures.measureStart = Now();
    figures.cpuStart = ProcessCpuSeconds();
    figures.framesAtStart = frames;
    ::SetTimer(nullptr, 0, UINT(measureSeconds * 1000.0), StopMeasuring);
}

template <class Program>
int RunChild() {
    Program program;
    running = &program;
    program.Create(::GetModuleHandleA(nullptr));
    ::SetTimer(nullptr, 0, UINT(kWarmUpSeconds * 1000.0), StartMeasuring);
    program.Run();
    unsigned counted = figures.framesAtEnd - figures.framesAtStart;
    double elapsed = figures.measureEnd - figures.measureStart;
    if (counted == 0 || elapsed <= 0.0 || program.errorMode) {
        std::printf("failed error=%d frames=%u\n", int(program.errorMode), counted);
        return 1;
    }
    std::printf("fps=%.3f cpu_ms=%.4f first_ms=%.1f create_ms=%.1f objects_ms=%.1f frames=%u\n",
                counted / elapsed, (figures.cpuEnd - figures.cpuStart) * 1000.0 / counted,
                figures.firstFrameSeconds * 1000.0, figures.createdSeconds * 1000.0,
                figures.objectsSeconds * 1000.0, counted);
    return 0;
}

// ---- The parent: runs every configuration several times and prints medians -------------

struct Run {
    double fps, cpuMs, firstMs, createMs, objectsMs;
};

bool RunOnce(const char* program, const char* sw, double seconds, Run* run) {
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    char commandLine[2 * MAX_PATH];
    static int runNumber = 0;
    std::snprintf(commandLine, sizeof(commandLine), "\"%s\" child %s %g %s run%lu_%d", self,
                  program, seconds, sw, ::GetCurrentProcessId(), ++runNumber);
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd, writeEnd;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return false;
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process = {};
    BOOL started = ::CreateProcessA(nullptr, commandLine, nullptr, nullptr, TRUE, 0, nullptr,
                                    nullptr, &startup, &process);
    ::CloseHandle(writeEnd);
    if (!started) {
        ::CloseHandle(readEnd);
        return false;
    }
    char output[512] = {};
    DWORD total = 0, got = 0;
    while (total < sizeof(output) - 1 &&
           ::ReadFile(readEnd, output + total, DWORD(sizeof(output) - 1 - total), &got, nullptr) && got)
        total += got;
    ::CloseHandle(readEnd);
    if (::WaitForSingleObject(process.hProcess, DWORD((seconds + 60.0) * 1000.0)) != WAIT_OBJECT_0)
        ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    unsigned counted = 0;
    return std::sscanf(output, "fps=%lf cpu_ms=%lf first_ms=%lf create_ms=%lf objects_ms=%lf frames=%u",
                       &run->fps, &run->cpuMs, &run->firstMs, &run->createMs, &run->objectsMs,
                       &counted) == 6;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// The medians of one program's runs.
struct Series {
    const char* program;
    std::vector<double> fps, cpu, first, create, objects;
    void Add(const Run& run) {
        fps.push_back(run.fps);
        cpu.push_back(run.cpuMs);
        first.push_back(run.firstMs);
        create.push_back(run.createMs);
        objects.push_back(run.objectsMs);
    }
    void Print(const char* sw) const {
        std::printf("%s %-5s: %8.2f fps  %7.3f ms CPU/frame  first frame %7.1f ms"
                    " (create %6.1f, scene objects %5.1f)\n",
                    sw, program, Median(fps), Median(cpu), Median(first), Median(create),
                    Median(objects));
    }
};

void MeasureOne(Series& series, const char* sw, double seconds, int number) {
    Run run;
    if (!RunOnce(series.program, sw, seconds, &run)) {
        std::printf("  %-5s %s run %d failed\n", series.program, sw, number);
        return;
    }
    std::printf("  %-5s %s run %d: %8.2f fps  %7.3f ms CPU/frame  first frame %7.1f ms"
                " (create %6.1f, scene objects %5.1f)\n",
                series.program, sw, number, run.fps, run.cpuMs, run.firstMs, run.createMs,
                run.objectsMs);
    std::fflush(stdout);
    series.Add(run);
}

int RunParent(double seconds, int runs) {
    std::printf("saver frames: %d runs of %.0f s after %.0f s warm-up, medians\n", runs, seconds,
                kWarmUpSeconds);
    for (const char* sw : {"/t", "/s"}) {
        Series floor{"floor"}, scene{"scene"};
        for (int i = 1; i <= runs; i++) {   // alternate which goes first
            MeasureOne(i % 2 ? floor : scene, sw, seconds, i);
            MeasureOne(i % 2 ? scene : floor, sw, seconds, i);
        }
        floor.Print(sw);
        scene.Print(sw);
        double f = Median(floor.first), c = Median(floor.cpu);
        if (Median(floor.fps) > 0 && c > 0 && f > 0)
            std::printf("%s scene/floor: fps x%.2f  CPU/frame x%.2f  first frame x%.2f\n", sw,
                        Median(scene.fps) / Median(floor.fps), Median(scene.cpu) / c,
                        Median(scene.first) / f);
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 6 && std::strcmp(argv[1], "child") == 0) {
        measureSeconds = std::atof(argv[3]);
        unixProcessId = UnixProcessId(argv[5]);
        if (std::strcmp(argv[2], "floor") == 0) return RunChild<Measured<FloorSaver>>();
        return RunChild<Measured<SkyScene>>();
    }
    double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    if (seconds <= 0.0) seconds = 5.0;
    if (runs <= 0) runs = 3;
    return RunParent(seconds, runs);
}
