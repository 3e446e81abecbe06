// Saver: the screensaver host's central object.
//
// Exactly one exists per process (the entry point builds a SkyScene, which derives from
// it). It owns everything the running screensaver has: the run mode, the windows, the
// monitor table, the Direct3D object, the adapter records, the render units, the error
// state and the password state. Window and dialog procedures reach it through
// Saver::instancePointer.
//
// The virtual operations are the only way the host calls the scene; they are declared in
// slot order and their base versions do nothing or return success unless noted.
//
// Where the operations live:
//   host/saver.cpp              construction, Create, ParseCommandLine, Run, RunSaver, message loop
//   host/command_line.cpp       the grammar ParseCommandLine applies (ReadCommandLine)
//   host/saver_windows.cpp      windows, HandleMessage, EndOrVerify, EndSaver
//   host/monitors.cpp           EnumerateMonitors, PlaceWindows (+ host/multimon.*)
//   host/password.cpp           password provider, verification, ChangePasswordNow
//   host/error_messages.cpp     GetErrorMessage, ShowError, PaintMessage
//   host/visibility.cpp         SceneVisible and the display's power state
//   host/environment.cpp        CreateEnvironment
//   d3denv/adapter_enumeration.cpp   EnumerateAdapters and friends
//   d3denv/device_selection.cpp      render units, projection, ReleaseDevices/RecreateDevices
//   d3denv/render_loop.cpp           RenderFrame, StepErrorMode, ReleaseEnvironment, MeasureFrameRate
//   display_settings/display_settings_store.cpp   ReadDisplaySettings, WriteDisplaySettings
//   display_settings/display_settings_dialog.cpp  ShowDisplaySettingsDialog
#pragma once

#include <windows.h>
#include <d3d8.h>

#include "d3denv/adapter_info.h"
#include "d3denv/render_unit.h"
#include "host/command_line.h"
#include "host/monitor_info.h"
#include "host/result_codes.h"

// "VerifyScreenSavePwd" of the Windows 9x password provider.
typedef BOOL(WINAPI* VerifyScreenSavePwdFn)(HWND window);
// RegisterPowerSettingNotification, which exists from Windows Vista on.
typedef PVOID(WINAPI* RegisterPowerSettingNotificationFn)(HANDLE recipient, LPCGUID setting, DWORD flags);

class Saver {
public:
    Saver();
    virtual ~Saver();
    Saver(const Saver&) = delete;
    Saver& operator=(const Saver&) = delete;

    static Saver* instancePointer;   // the one Saver of the process

    // ---- Virtual operations, in slot order -------------------------------------------
    virtual HRESULT Create(HINSTANCE instanceHandle);
    virtual int Run();
    virtual void ShowOptions() {}
    virtual void LoadSettings() {}
    virtual void PaintMessage(HWND window, HDC dc);
    virtual LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    virtual void DescribeDevices();
    virtual void MeasureFrameRate();
    virtual BOOL GetErrorMessage(HRESULT code, char* text, DWORD size);
    virtual void UnitChanged(UINT /*unitIndex*/) {}
    virtual HRESULT PrepareEnumeration() { return S_OK; }
    virtual HRESULT AcceptDevice(const D3DCAPS8* /*caps*/, DWORD /*behaviorFlags*/, D3DFORMAT /*format*/) { return S_OK; }
    virtual HRESULT AcceptCreatedDevice(IDirect3DDevice8* /*device*/) { return S_OK; }
    virtual HRESULT InitScene() { return S_OK; }
    virtual HRESULT CreateSceneObjects() { return S_OK; }
    virtual HRESULT RestoreSceneObjects() { return S_OK; }
    virtual HRESULT AdvanceScene() { return S_OK; }
    virtual HRESULT DrawScene() { return S_OK; }
    virtual HRESULT ReleaseSceneObjects() { return S_OK; }
    virtual HRESULT DestroySceneObjects() { return S_OK; }
    virtual HRESULT CleanupScene() { return S_OK; }

    // ---- Start-up and run modes (saver.cpp, command_line.cpp) ------------------------
    SaverMode ParseCommandLine(const char* commandLine);
    HRESULT RunSaver();
    void WaitForPreviewHost();
    void RunMessageLoop();
    void BeginTimerResolution();
    void EndTimerResolution();
    void RecordFailure(HRESULT code);   // errorMode = 1, errorCode = code
    HRESULT ShowError(HRESULT code);

    // ---- Windows and messages (saver_windows.cpp) ------------------------------------
    HRESULT CreateSaverWindows();
    void EndOrVerify();
    void EndSaver();
    void ReleasePasswordModule();
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // ---- Monitors (monitors.cpp) -----------------------------------------------------
    void EnumerateMonitors();
    void PlaceWindows();

    // ---- Password (password.cpp) -----------------------------------------------------
    void SetUpPasswordProvider();
    void VerifyPasswordAndResume();
    void ChangePasswordNow();

    // ---- Visibility (visibility.cpp) -------------------------------------------------
    void RegisterDisplayNotification();   // through the system's function, where it has one
    void RegisterDisplayNotification(RegisterPowerSettingNotificationFn registerFn, bool consoleStateKnown);
    void UnregisterDisplayNotification();
    void NoteDisplayState(LPARAM setting);   // lParam of PBT_POWERSETTINGCHANGE
    void NoteMonitorPower(LPARAM power);      // lParam of SC_MONITORPOWER
    bool SceneVisible() const;

    // ---- Environment (environment.cpp) -----------------------------------------------
    HRESULT CreateEnvironment();

    // ---- Enumeration (adapter_enumeration.cpp) ---------------------------------------
    HRESULT EnumerateAdapters();
    bool FindDepthStencilFormat(UINT adapter, D3DDEVTYPE deviceType, D3DFORMAT format,
                                D3DFORMAT* depthStencilFormat);
    HRESULT CheckWindowedFormat(UINT adapter, D3DFORMAT backBufferFormat,
                                DWORD* behaviorFlags, D3DFORMAT* depthStencilFormat);
    bool ChooseBehavior(const D3DCAPS8& caps, D3DFORMAT format, DWORD* behaviorFlags);
    void FreeAdapters();

    // ---- Device selection (device_selection.cpp) -------------------------------------
    bool PickBestAdapter(int* adapterOrdinal);
    HRESULT CreateFullScreenUnit(RenderUnit& unit);
    bool FindLowerCombo(DeviceInfo& device);
    HRESULT CreateWindowedUnit(RenderUnit& unit);
    void SelectRenderUnit(UINT index);
    void ComputeProjection(float zNear, float zFar, D3DMATRIX* projection);
    HRESULT SetProjection(float zNear, float zFar);
    void ReleaseDevices();
    void RecreateDevices();

    // ---- Render loop (render_loop.cpp) -----------------------------------------------
    HRESULT RenderFrame();
    void StepErrorMode();
    void ReleaseEnvironment();

    // ---- Display settings (display_settings/) ----------------------------------------
    void ReadDisplaySettings(HKEY key);
    void WriteDisplaySettings(HKEY key);
    INT_PTR ShowDisplaySettingsDialog(HWND owner);
    void FillMonitorPage(HWND dialog);

    // ---- State, in declaration order -------------------------------------------------
    SaverMode mode = SaverMode::Configure;
    DWORD screensSame = 0;
    HWND mainWindow = nullptr;
    HWND parentWindow = nullptr;
    HINSTANCE instance = nullptr;
    DWORD waitingForPreview = 0;
    DWORD mouseMoves = 0;
    DWORD isWindows9x = 0;
    HMODULE passwordModule = nullptr;
    VerifyScreenSavePwdFn verifyPassword = nullptr;
    DWORD checkingPassword = 0;
    DWORD windowed = 0;
    DWORD errorMode = 0;
    HRESULT errorCode = S_OK;
    char errorText[400] = {};
    MonitorInfo monitors[kMaxMonitors] = {};
    UINT monitorCount = 0;
    RenderUnit units[kMaxUnits] = {};
    UINT unitCount = 0;
    AdapterInfo* adapters[kMaxAdapters] = {};
    UINT adapterCount = 0;
    IDirect3D8* direct3d = nullptr;
    IDirect3DDevice8* activeDevice = nullptr;
    RECT windowRect = {};
    RECT renderRect = {};
    D3DSURFACE_DESC backBufferDesc = {};
    char title[200] = "Cirrane Screensaver";
    DWORD allowReference = 0;     // never set: the reference rasterizer is not enumerated
    DWORD useDepthBuffer = 0;
    DWORD multithreaded = 0;      // never set
    DWORD singleScreenOnly = 0;   // never set
    char registryPath[200] = {};
    UINT minDepthBits = 16;
    UINT minStencilBits = 0;
    D3DSWAPEFFECT fullScreenSwapEffect = D3DSWAPEFFECT_DISCARD;
    D3DSWAPEFFECT windowedSwapEffect = D3DSWAPEFFECT_COPY_VSYNC;
    // Application time of the frame. Kept in double: it counts from the machine's start, and
    // a float would move the scene in visible steps after a few days of uptime.
    double time = 0.0;
    float elapsedTime = 0.0f;
    float framesPerSecond = 0.0f;
    char deviceStats[90] = {};
    char frameStats[42] = {};
    // Visibility: the display is powered off; the display-state notification, if any.
    DWORD displayOff = 0;
    PVOID displayNotification = nullptr;
    // The system timer's resolution asked for the saving phase, in milliseconds; 0 = none held.
    UINT timerPeriod = 0;
};
