// The Windows 9x password steps in-process: when the provider is loaded (the desktop's
// value under a scratch HKEY_CURRENT_USER, the test suite's PASSWORD.CPL stand-in on the
// DLL path), and what an accepted and a rejected password do to the saver.
#include <gtest/gtest.h>

#include <string>

#include "doubles/support.h"
#include "host/saver.h"

namespace {

// The stand-ins are built into <tests>\standins, beside this program's folder.
std::string StandinDirectory() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string dir(path);
    return dir.substr(0, dir.find_last_of('\\')) + "\\standins";
}

class PasswordProvider : public ::testing::Test {
protected:
    void SetUp() override { ::SetDllDirectoryA(StandinDirectory().c_str()); }
    void TearDown() override {
        if (saver.passwordModule) ::FreeLibrary(saver.passwordModule);
        ::SetDllDirectoryA(nullptr);
    }
    void SetDesktopValue(DWORD type, const void* data, DWORD size) {
        ::RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword",
                          type, data, size);
    }

    ScratchRegistry registry;
    Saver saver;
};

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

TEST_F(PasswordProvider, LoadedOnlyWhenTheDesktopAsksForAPassword) {
    saver.SetUpPasswordProvider();   // no "Control Panel\Desktop" key at all
    EXPECT_FALSE(saver.passwordModule);

    const DWORD zero = 0;
    const unsigned long long tooLarge = 1;
    SetDesktopValue(REG_DWORD, &zero, sizeof(zero));
    saver.SetUpPasswordProvider();
    SetDesktopValue(REG_BINARY, &tooLarge, sizeof(tooLarge));
    saver.SetUpPasswordProvider();
    EXPECT_FALSE(saver.passwordModule);
    EXPECT_FALSE(saver.verifyPassword);
    EXPECT_FALSE(::GetModuleHandleA("password.cpl"));

    const DWORD one = 1;
    SetDesktopValue(REG_DWORD, &one, sizeof(one));
    saver.SetUpPasswordProvider();
    ASSERT_TRUE(saver.passwordModule);
    EXPECT_TRUE(saver.verifyPassword);
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
