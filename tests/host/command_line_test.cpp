// The command-line grammar: program-name skipping, switch letters, handle numbers.
#include <gtest/gtest.h>

#include <climits>

#include "host/saver.h"

namespace {

struct Parsed {
    SaverMode mode;
    LONG_PTR parent;
};

Parsed Parse(const char* text) {
    Saver saver;
    saver.parentWindow = reinterpret_cast<HWND>(0x77);   // must be cleared by every parse
    SaverMode mode = saver.ParseCommandLine(text);
    return {mode, reinterpret_cast<LONG_PTR>(saver.parentWindow)};
}

struct Case {
    const char* text;
    SaverMode mode;
    LONG_PTR parent;
};

void ExpectAll(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        Parsed parsed = Parse(c.text);
        EXPECT_EQ(parsed.mode, c.mode) << (c.text ? c.text : "null");
        EXPECT_EQ(parsed.parent, c.parent) << (c.text ? c.text : "null");
    }
}

const SaverMode kConfigure = SaverMode::Configure, kFull = SaverMode::FullScreen,
                kTest = SaverMode::Test, kPreview = SaverMode::Preview;

}  // namespace

TEST(CommandLine, WithoutSwitchIsConfigure) {
    ExpectAll({{"", kConfigure, 0}, {"cirrane.scr", kConfigure, 0}, {"cirrane.scr ", kConfigure, 0},
               {"cirrane.scr some words 1234", kConfigure, 0}, {nullptr, kConfigure, 0}});
}

TEST(CommandLine, ProgramNameIsSkipped) {
    ExpectAll({{"\"C:\\Program Files\\cir-rane\\x.scr\" /p 4711", kPreview, 4711},
               {"\"C:\\a b\\x.scr\"/t", kTest, 0},
               {"\"C:\\a b\\x.scr /s", kConfigure, 0},   // an unterminated quote swallows all
               {"c:\\my-saver.scr /t", kTest, 0}});      // a minus inside the name goes with it
}

TEST(CommandLine, SwitchLettersInBothCasesWithSlashOrMinus) {
    ExpectAll({{"x.scr /s", kFull, 0}, {"x.scr -S", kFull, 0}, {"x.scr /t", kTest, 0},
               {"x.scr -T", kTest, 0}, {"x.scr /c", kConfigure, 0}, {"x.scr /C:2290", kConfigure, 2290},
               {"x.scr /c:2290", kConfigure, 2290}, {"x.scr /P 1234", kPreview, 1234},
               {"x.scr /a", SaverMode::ChangePassword, 0}, {"x.scr -A 99", SaverMode::ChangePassword, 99},
               {"x.scr /x", kFull, 0}, {"x.scr /", kFull, 0}, {"x.scr \xE9/\xC9", kFull, 0}});
}

TEST(CommandLine, HandleNumbers) {
    ExpectAll({{"x.scr /p", kPreview, 0}, {"x.scr /p:abc", kPreview, 0},
               {"x.scr /p abc 42 17", kPreview, 42},   // first digits win
               {"x.scr /p -42", kPreview, 42},         // a sign is not a digit
               {"x.scr /p 0007", kPreview, 7}, {"x.scr /p 2147483647", kPreview, LONG_MAX},
               // Too large for its type: saturates instead of overflowing.
               {"x.scr /p 2147483648", kPreview, LONG_MAX},
               {"x.scr /c:99999999999999999999999999999999999999", kConfigure, LONG_MAX}});
}
