// cirrane-still: one frame of the Cirrane sky scene as a picture file, rendered by the
// program's own scene code, optionally made the desktop background. Run with --help for
// the options; exit code 0 when written, 1 when rendering or writing failed, 2 on a bad
// command line.
#include <windows.h>

#include <cstdio>
#include <new>

#include "picture_files.h"
#include "still_options.h"
#include "still_render.h"

namespace {

int Fail(const std::string& reason) {
    std::fprintf(stderr, "cirrane-still: %s\n", reason.c_str());
    return 1;
}

int Run(StillOptions& options) {
    if (options.width == 0) {   // the primary screen's size
        options.width = ::GetSystemMetrics(SM_CXSCREEN);
        options.height = ::GetSystemMetrics(SM_CYSCREEN);
    }
    std::vector<std::uint8_t> rgb;
    std::string error;
    if (!RenderStill(options, &rgb, &error)) return Fail(error);
    if (!WritePicture(options.out, options.bmp, options.width, options.height, rgb))
        return Fail("cannot write " + options.out);
    if (options.wallpaper && !SetWallpaper(options.out, options.bmp, options.width, options.height, rgb, &error))
        return Fail(error);
    std::printf("%s: %d x %d\n", options.out.c_str(), options.width, options.height);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    StillOptions options;
    std::string error;
    if (!ParseStillOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "cirrane-still: %s\n(cirrane-still --help lists the options)\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(kStillUsage, stdout);
        return 0;
    }
    try {
        return Run(options);
    } catch (const std::bad_alloc&) {   // a picture too large for this machine's memory
        return Fail("not enough memory for a picture of that size");
    }
}
