// The Windows 9x password steps in-process: when the provider is loaded (the desktop's
// value under a scratch HKEY_CURRENT_USER, the test suite's PASSWORD.CPL stand-in on the
// DLL path), and what an accepted and a rejected password do to the saver.
#include <gtest/gtest.h>

#include <string>

#include "doubles/support.h"
#include "host/saver.h"

namespace {

// Counts the ends of the saver: EndSaver always calls CleanupScene.
class RecordingSaver : public Saver {
public:
    int ends = 0;
    HRESULT CleanupScene() override { ends++; return S_OK; }
};

struct VerifyCall {
    int calls = 0;
    HWND window = nullptr;
    DWORD checkingDuringCall = 0;
    BOOL answer = FALSE;
};
VerifyCall verifyCall;

BOOL WINAPI AnswerVerify(HWND window) {
    verifyCall.calls++;
    verifyCall.window = window;
    verifyCall.checkingDuringCall = Saver::instancePointer->checkingPassword;
    return verifyCall.answer;
}

bool QuitPosted() {
    MSG message;
    bool posted = false;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        if (message.message == WM_QUIT) posted = true;
    return posted;
}

void ArmVerification(RecordingSaver& saver, BOOL answer) {
    verifyCall = VerifyCall{};
    verifyCall.answer = answer;
    saver.mode = SaverMode::FullScreen;
    saver.isWindows9x = 1;
    saver.verifyPassword = AnswerVerify;
    saver.mainWindow = HWND(INT_PTR(0x4711));
    saver.mouseMoves = 5;
}

}  // namespace

TEST(PasswordProvider, LoadedOnlyWhenTheDesktopAsksForAPassword) {
    ScratchRegistry registry;
    Saver saver;
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string dir(path);
    ::SetDllDirectoryA((dir.substr(0, dir.find_last_of('\\')) + "\\standins").c_str());   // the stand-ins
    auto setValue = [](DWORD type, const void* data, DWORD size) {
        ::RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword", type, data, size);
    };
    saver.SetUpPasswordProvider();   // no "Control Panel\Desktop" key at all
    const DWORD zero = 0, one = 1;
    const unsigned long long tooLarge = 1;
    setValue(REG_DWORD, &zero, sizeof(zero));
    saver.SetUpPasswordProvider();
    setValue(REG_BINARY, &tooLarge, sizeof(tooLarge));
    saver.SetUpPasswordProvider();
    EXPECT_FALSE(saver.passwordModule);
    EXPECT_FALSE(saver.verifyPassword);
    EXPECT_FALSE(::GetModuleHandleA("password.cpl"));
    setValue(REG_DWORD, &one, sizeof(one));
    saver.SetUpPasswordProvider();
    EXPECT_TRUE(saver.passwordModule && saver.verifyPassword);
    if (saver.passwordModule) ::FreeLibrary(saver.passwordModule);
    ::SetDllDirectoryA(nullptr);
}

// Accepted, the saver ends; rejected, it goes on with the mouse count restarted and the
// cursor hidden. Either way the provider saw mainWindow and checkingPassword was set.
TEST(PasswordVerification, AnswerDecidesBetweenEndingAndResuming) {
    for (BOOL answer : {TRUE, FALSE}) {
        RecordingSaver saver;
        ArmVerification(saver, answer);
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
        saver.EndOrVerify();
        EXPECT_EQ(verifyCall.calls, 1);
        EXPECT_EQ(verifyCall.window, saver.mainWindow);
        EXPECT_EQ(verifyCall.checkingDuringCall, 1u);
        EXPECT_EQ(saver.checkingPassword, 0u);
        EXPECT_EQ(saver.ends, answer ? 1 : 0);
        EXPECT_EQ(QuitPosted(), answer != FALSE);
        if (!answer) {
            EXPECT_EQ(saver.mouseMoves, 0u);
            EXPECT_FALSE(::GetCursor());
        }
    }
}
