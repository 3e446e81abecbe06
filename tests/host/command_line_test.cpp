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

void Expect(const char* text, SaverMode mode, LONG_PTR parent) {
    Parsed parsed = Parse(text);
    EXPECT_EQ(parsed.mode, mode) << text;
    EXPECT_EQ(parsed.parent, parent) << text;
}

}  // namespace

TEST(CommandLine, WithoutSwitchIsConfigure) {
    Expect("", SaverMode::Configure, 0);
    Expect("cirrane.scr", SaverMode::Configure, 0);
    Expect("cirrane.scr ", SaverMode::Configure, 0);
    Expect("cirrane.scr some words 1234", SaverMode::Configure, 0);
    Expect(nullptr, SaverMode::Configure, 0);
}

TEST(CommandLine, ProgramNameIsSkipped) {
    Expect("\"C:\\Program Files\\cir-rane\\x.scr\" /p 4711", SaverMode::Preview, 4711);
    Expect("\"C:\\a b\\x.scr\"/t", SaverMode::Test, 0);
    // An unterminated quote swallows the whole text.
    Expect("\"C:\\a b\\x.scr /s", SaverMode::Configure, 0);
    // A minus inside an unquoted program name is skipped with it.
    Expect("c:\\my-saver.scr /t", SaverMode::Test, 0);
}

TEST(CommandLine, SwitchLettersInBothCasesWithSlashOrMinus) {
    Expect("x.scr /s", SaverMode::FullScreen, 0);
    Expect("x.scr -S", SaverMode::FullScreen, 0);
    Expect("x.scr /t", SaverMode::Test, 0);
    Expect("x.scr -T", SaverMode::Test, 0);
    Expect("x.scr /c", SaverMode::Configure, 0);
    Expect("x.scr /C:2290", SaverMode::Configure, 2290);
    Expect("x.scr /c:2290", SaverMode::Configure, 2290);
    Expect("x.scr /P 1234", SaverMode::Preview, 1234);
    Expect("x.scr /a", SaverMode::ChangePassword, 0);
    Expect("x.scr -A 99", SaverMode::ChangePassword, 99);
    Expect("x.scr /x", SaverMode::FullScreen, 0);
    Expect("x.scr /", SaverMode::FullScreen, 0);
    Expect("x.scr \xE9/\xC9", SaverMode::FullScreen, 0);
}

TEST(CommandLine, HandleNumbers) {
    Expect("x.scr /p", SaverMode::Preview, 0);
    Expect("x.scr /p:abc", SaverMode::Preview, 0);
    Expect("x.scr /p abc 42 17", SaverMode::Preview, 42);       // first digits win
    Expect("x.scr /p -42", SaverMode::Preview, 42);              // a sign is not a digit
    Expect("x.scr /p 0007", SaverMode::Preview, 7);
    Expect("x.scr /p 2147483647", SaverMode::Preview, LONG_MAX);
    // Too large for its type: saturates instead of overflowing.
    Expect("x.scr /p 2147483648", SaverMode::Preview, LONG_MAX);
    Expect("x.scr /c:99999999999999999999999999999999999999", SaverMode::Configure, LONG_MAX);
}
