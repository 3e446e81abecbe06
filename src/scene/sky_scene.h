// SkyScene: the one specialisation of Saver, the sky scene itself.
//
// It adds the scene's transforms, its device objects (vertex buffer and four textures)
// and the three user settings, and overrides seven of Saver's virtual operations.
//
// The device objects are kept per render unit: each unit's set is made on that unit's
// device and released with it. UnitChanged (called when a unit is selected) picks the
// current set; Objects() is that set. With one unit this is one set, as always.
//
// The options dialog reaches it through SkyScene::sceneInstance.
//
// Where the operations live:
//   scene/sky_scene.cpp        construction
//   scene/scene_settings.cpp   LoadSettings, SaveSettings
//   scene/animation.cpp        AdvanceScene
//   scene/scene_resources.cpp  RestoreSceneObjects, ReleaseSceneObjects, textures
//   scene/geometry.cpp         BuildGeometry, WriteSceneVertices (scene_geometry.h)
//   scene/scene_draw.cpp       DrawScene
//   scene/options_dialog.cpp   ShowOptions, OptionsDialogProc
#pragma once

#include "gfxutil/d3dx_math.h"
#include "host/saver.h"

// The device objects of one render unit; all belong to that unit's device.
struct SceneObjects {
    IDirect3DVertexBuffer8* vertexBuffer = nullptr;   // all scene geometry
    IDirect3DTexture8* skyTexture = nullptr;
    IDirect3DTexture8* cloudTexture = nullptr;
    IDirect3DTexture8* stoneTexture = nullptr;
    IDirect3DTexture8* glowTexture = nullptr;
};

// The settings' values by the names the options dialog shows, in value order, and the
// highest cloud speed level (skySpeed = level x 0.1).
inline constexpr const char* kCameraPathNames[] = {"Flying", "Sinusoid", "Circular"};
inline constexpr const char* kCubeAnimationNames[] = {"Standart", "Up and Down"};
inline constexpr DWORD kMaxSkySpeedLevel = 10;

class SkyScene : public Saver {
public:
    SkyScene();
    ~SkyScene() override;

    static SkyScene* sceneInstance;

    // ---- Saver overrides -------------------------------------------------------------
    void ShowOptions() override;
    void LoadSettings() override;
    void UnitChanged(UINT unitIndex) override;
    HRESULT RestoreSceneObjects() override;
    HRESULT AdvanceScene() override;
    HRESULT DrawScene() override;
    HRESULT ReleaseSceneObjects() override;

    // ---- Scene operations ------------------------------------------------------------
    void SaveSettings();
    HRESULT BuildGeometry();
    HRESULT LoadTextures();
    HRESULT LoadMipTexture(IDirect3DDevice8* device, UINT levels, const UINT* bitmapIds,
                           IDirect3DTexture8** texture);
    SceneObjects& Objects() { return unitObjects[currentUnit]; }
    void ReleaseAllSceneObjects();   // every unit's set, whichever unit is selected
    static INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                              LPARAM lParam);

    // ---- State, in declaration order -------------------------------------------------
    D3DXMATRIX viewMatrix;
    D3DXMATRIX cloudTexMatrix;
    D3DXMATRIX identityWorld;
    D3DXMATRIX glowMatrix;
    D3DXMATRIX cubeTranslation;
    D3DXMATRIX cubeWorld;
    SceneObjects unitObjects[kMaxUnits];   // one set per render unit
    UINT currentUnit = 0;                  // the selected unit's set
    float skySpeed = 0.2f;        // cloud drift, texture units per second: level x 0.1
    DWORD cubeAnimation = 0;      // 0 "Standart", 1 "Up and Down"
    DWORD cameraPath = 0;         // 0 "Flying", 1 "Sinusoid", 2 "Circular"
};
