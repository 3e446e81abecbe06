// The scene's geometry: the vertex layout and the ranges of the one vertex buffer that
// holds every piece of the scene (two sky cones, the bevelled cube, the 34 slabs, the
// glow band).
//
// WriteSceneVertices fills a plain array and touches no device, so the geometry can be
// built and checked anywhere; SkyScene::BuildGeometry copies it into the device's buffer.
#pragma once

#include <windows.h>
#include <d3d8.h>

struct SceneVertex {
    float x, y, z;   // position, left-handed, y up
    float u, v;      // texture coordinate of stage 0
};

constexpr DWORD kSceneVertexFormat = D3DFVF_XYZ | D3DFVF_TEX1;   // 0x102
constexpr UINT kSceneVertexStride = sizeof(SceneVertex);         // 20 bytes
constexpr UINT kSceneVertexCount = 1928;
constexpr UINT kSceneBufferBytes = kSceneVertexCount * kSceneVertexStride;

// Where each piece starts in the buffer and how many primitives it draws.
constexpr UINT kSkyFirst = 0;            constexpr UINT kSkyTriangles = 96;
constexpr UINT kCloudFirst = 288;        constexpr UINT kCloudTriangles = 96;
constexpr UINT kCubeFirst = 576;         constexpr UINT kCubeTriangles = 108;
constexpr UINT kCentralTopFirst = 900;   constexpr UINT kCentralTopTriangles = 2;
constexpr UINT kOtherTopsFirst = 906;    constexpr UINT kOtherTopsTriangles = 66;
constexpr UINT kSlabSidesFirst = 1104;   constexpr UINT kSlabSidesTriangles = 272;
constexpr UINT kGlowLowerFirst = 1920;   constexpr UINT kGlowStripTriangles = 2;
constexpr UINT kGlowUpperFirst = 1924;

constexpr UINT kSlabCount = 34;
constexpr float kSlabTopY = 0.0496f;

// Writes all kSceneVertexCount vertices, in buffer order, to out.
void WriteSceneVertices(SceneVertex* out);
