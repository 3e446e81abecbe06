// The Windows 9x password check in-process (loading the provider is the end-to-end run's).
#include <gtest/gtest.h>

#include "host/saver.h"

namespace {

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
} verifyCall;

BOOL WINAPI AnswerVerify(HWND window) {
    verifyCall.calls++;
    verifyCall.window = window;
    verifyCall.checkingDuringCall = Saver::instancePointer->checkingPassword;
    return verifyCall.answer;
}

bool QuitPosted() {
    MSG message;
    return ::PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

}  // namespace

// Either way the device window is shown maximised again, so that one a smaller full-screen
// mode left shrunk covers its monitor and the dialog never shows beside it over the desktop.
TEST(PasswordVerification, AnswerDecidesBetweenEndingAndResuming) {
    for (BOOL answer : {TRUE, FALSE}) {
        RecordingSaver saver;
        verifyCall = VerifyCall{};
        verifyCall.answer = answer;
        saver.mode = SaverMode::FullScreen;
        saver.isWindows9x = 1;
        saver.verifyPassword = AnswerVerify;
        saver.mouseMoves = 5;
        HWND window = saver.mainWindow = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 64,
                                                           64, nullptr, nullptr, nullptr, nullptr);
        RECT covered, shown;
        ::ShowWindow(window, SW_SHOWMAXIMIZED);
        ::GetWindowRect(window, &covered);
        ::SetWindowPos(window, nullptr, 0, 0, 640, 480, SWP_NOZORDER);
        AdapterInfo adapter = {};
        adapter.deviceWindow = window;
        saver.adapters[0] = &adapter;
        saver.adapterCount = 1;
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
        saver.EndOrVerify();
        EXPECT_EQ(verifyCall.calls, 1);
        EXPECT_EQ(verifyCall.window, window);
        EXPECT_EQ(verifyCall.checkingDuringCall, 1u);
        EXPECT_EQ(saver.checkingPassword, 0u);
        EXPECT_EQ(saver.ends, answer ? 1 : 0);
        EXPECT_EQ(QuitPosted(), answer != FALSE);
        ::GetWindowRect(window, &shown);
        EXPECT_TRUE(::EqualRect(&shown, &covered));
        if (!answer) {
            EXPECT_EQ(saver.mouseMoves, 0u);
            EXPECT_FALSE(::GetCursor());
        }
        ::DestroyWindow(window);
    }
}
