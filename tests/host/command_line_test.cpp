// The command-line grammar: program-name skipping, switch letters, handle numbers.
#include <gtest/gtest.h>

#include <cstdint>

#include "host/saver.h"

namespace {

const SaverMode kConfigure = SaverMode::Configure, kFull = SaverMode::FullScreen,
                kTest = SaverMode::Test, kPreview = SaverMode::Preview,
                kPassword = SaverMode::ChangePassword;

const struct {
    const char* text;
    SaverMode mode;
    LONG_PTR parent;
} kCases[] = {
    {"", kConfigure, 0}, {"cirrane.scr", kConfigure, 0}, {"cirrane.scr ", kConfigure, 0},
    {"cirrane.scr some words 1234", kConfigure, 0}, {nullptr, kConfigure, 0},
    // An unterminated quote swallows all; a minus inside the name goes with it.
    {"\"C:\\Program Files\\cir-rane\\x.scr\" /p 4711", kPreview, 4711},
    {"\"C:\\a b\\x.scr\"/t", kTest, 0}, {"\"C:\\a b\\x.scr /s", kConfigure, 0},
    {"c:\\my-saver.scr /t", kTest, 0},
    {"x.scr /s", kFull, 0}, {"x.scr -S", kFull, 0}, {"x.scr /t", kTest, 0}, {"x.scr -T", kTest, 0},
    {"x.scr /c", kConfigure, 0}, {"x.scr /C:2290", kConfigure, 2290}, {"x.scr /c:2290", kConfigure, 2290},
    {"x.scr /P 1234", kPreview, 1234}, {"x.scr /a", kPassword, 0}, {"x.scr -A 99", kPassword, 99},
    {"x.scr /x", kFull, 0}, {"x.scr /", kFull, 0}, {"x.scr \xE9/\xC9", kFull, 0},
    // Handle numbers: the first digits win, a sign is not a digit; unsigned 32-bit numbers
    // widened by sign extension; a number beyond 32 bits, or HWND_MESSAGE, is no handle.
    {"x.scr /p", kPreview, 0}, {"x.scr /p:abc", kPreview, 0}, {"x.scr /p abc 42 17", kPreview, 42},
    {"x.scr /p -42", kPreview, 42}, {"x.scr /p 0007", kPreview, 7},
    {"x.scr /p 2147483647", kPreview, INT32_MAX}, {"x.scr /p 2147483648", kPreview, INT32_MIN},
    {"x.scr /p 004294967295", kPreview, -1}, {"x.scr /p 4294967296", kPreview, 0},
    {"x.scr /p 4294967293", kPreview, 0},   // HWND_MESSAGE
    {"x.scr /c:99999999999999999999999999999999999999", kConfigure, 0},
};

}  // namespace

TEST(CommandLine, ModeAndParentHandle) {
    for (const auto& c : kCases) {
        Saver saver;
        saver.parentWindow = reinterpret_cast<HWND>(0x77);   // must be cleared by every parse
        EXPECT_EQ(saver.ParseCommandLine(c.text), c.mode) << (c.text ? c.text : "null");
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(saver.parentWindow), c.parent) << (c.text ? c.text : "null");
    }
}
