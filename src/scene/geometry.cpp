// The scene's geometry: writing the 1928 vertices (WriteSceneVertices) and putting them
// into the current render unit's vertex buffer (SkyScene::BuildGeometry).
//
// Every triangle is listed so that it runs clockwise on the screen when seen from the side
// it faces, which is what the device's default culling keeps. In this left-handed space
// that means (v1 - v0) x (v2 - v0) points towards the viewer.
#include "scene/scene_geometry.h"

#include <cmath>
#include <cstring>

#include "host/release.h"
#include "scene/sky_scene.h"

namespace {

// ---- Sky cones ----------------------------------------------------------------------

constexpr int kConeSegments = 48;
constexpr float kConeRadius = 15.0f;
constexpr float kConeRimHeight = 0.1f;
constexpr float kConeTexScale = 2.0f;   // the picture repeats twice from centre to rim

SceneVertex Vertex(float x, float y, float z, float u, float v) {
    return SceneVertex{x, y, z, u, v};
}

SceneVertex RimVertex(float c, float s, float y) {
    return Vertex(kConeRadius * c, y, kConeRadius * s, kConeTexScale * c, kConeTexScale * s);
}

// A lower cone (apex at -apexHeight) and an upper cone (apex at +apexHeight), fanned from
// the viewer's rim; the upper cone swaps sine and cosine so its triangles face inwards too.
SceneVertex* WriteCone(SceneVertex* out, float apexHeight) {
    const float step = static_cast<float>(2.0 * 3.14159265358979323846 / kConeSegments);
    for (int i = 0; i < kConeSegments; ++i) {
        const float a0 = static_cast<float>(i) * step;
        const float a1 = static_cast<float>(i + 1) * step;
        const float c0 = static_cast<float>(std::cos(double(a0)));
        const float s0 = static_cast<float>(std::sin(double(a0)));
        const float c1 = static_cast<float>(std::cos(double(a1)));
        const float s1 = static_cast<float>(std::sin(double(a1)));
        *out++ = RimVertex(c0, s0, -kConeRimHeight);
        *out++ = Vertex(0.0f, -apexHeight, 0.0f, 0.0f, 0.0f);
        *out++ = RimVertex(c1, s1, -kConeRimHeight);
        *out++ = RimVertex(s0, c0, kConeRimHeight);
        *out++ = Vertex(0.0f, apexHeight, 0.0f, 0.0f, 0.0f);
        *out++ = RimVertex(s1, c1, kConeRimHeight);
    }
    return out;
}

// ---- Cube ---------------------------------------------------------------------------
//
// A cube of edge 1 with bevelled edges and corners, scaled by 0.5 when written. Each side
// is built in a local frame (p, q, r): r along the side's outward normal, p and q in its
// plane with p x q = r, so a triangle that runs counter-clockwise in the (p, q) plane
// faces outwards. The frames are proper rotations of the axes, which keep that facing.
//
// Per side: the face square (2 triangles), the face's half of its four edge bevels (2
// each) and the two triangles of each corner fan that touch the face (2 each): 18.

constexpr float kFaceInset = 0.35f;     // face corners at +-0.35 in the face's plane
constexpr float kFaceOut = 0.5f;        // on the face's normal axis
constexpr float kBevelOut = 0.456066f;  // 0.35 + 0.15 cos 45 degrees
constexpr float kCornerIn = 0.425f;     // corner points: (0.425, 0.425, 0.456066) with signs
constexpr float kCubeScale = 0.5f;
constexpr float kCubeTexScale = 1.5f;

struct Axis {
    int index;    // 0 x, 1 y, 2 z
    float sign;
};

struct SideFrame {
    Axis p, q, r;
    int texU, texV;   // axes projected to u and v
};

// In writing order: +z, -x, +y, -y, +x, -z.
constexpr SideFrame kSides[6] = {
    {{0, 1.0f}, {1, 1.0f}, {2, 1.0f}, 0, 1},    // +z: x, y
    {{2, 1.0f}, {1, 1.0f}, {0, -1.0f}, 1, 2},   // -x: z x y = -x
    {{2, 1.0f}, {0, 1.0f}, {1, 1.0f}, 0, 2},    // +y: z x x = y
    {{0, 1.0f}, {2, 1.0f}, {1, -1.0f}, 0, 2},   // -y: x x z = -y
    {{1, 1.0f}, {2, 1.0f}, {0, 1.0f}, 1, 2},    // +x: y x z = x
    {{1, 1.0f}, {0, 1.0f}, {2, -1.0f}, 0, 1},   // -z: y x x = -z
};

struct Point3 {
    float c[3];
};

Point3 ToModel(const SideFrame& side, float p, float q, float r) {
    Point3 point{};
    point.c[side.p.index] = side.p.sign * p;
    point.c[side.q.index] = side.q.sign * q;
    point.c[side.r.index] = side.r.sign * r;
    return point;
}

// The corner points are not symmetric under the sides' rotations (z sits further out
// than x and y), so they are placed from their signs in model space.
Point3 CornerPoint(const SideFrame& side, float signP, float signQ) {
    const Point3 signs = ToModel(side, signP, signQ, 1.0f);
    return Point3{{kCornerIn * signs.c[0], kCornerIn * signs.c[1], kBevelOut * signs.c[2]}};
}

SceneVertex CubeVertex(const SideFrame& side, const Point3& model) {
    const float x = model.c[0] * kCubeScale, y = model.c[1] * kCubeScale,
                z = model.c[2] * kCubeScale;
    const float scaled[3] = {x, y, z};
    return Vertex(x, y, z, kCubeTexScale * scaled[side.texU], kCubeTexScale * scaled[side.texV]);
}

SceneVertex* WriteCubeTriangle(SceneVertex* out, const SideFrame& side, const Point3& a,
                               const Point3& b, const Point3& c) {
    *out++ = CubeVertex(side, a);
    *out++ = CubeVertex(side, b);
    *out++ = CubeVertex(side, c);
    return out;
}

// Face corners in counter-clockwise order around the face, as (p, q) signs.
constexpr float kRing[4][2] = {{1, -1}, {1, 1}, {-1, 1}, {-1, -1}};

Point3 FaceCorner(const SideFrame& side, int k) {
    return ToModel(side, kFaceInset * kRing[k][0], kFaceInset * kRing[k][1], kFaceOut);
}

// The bevel point beside face corner k on the edge from corner `from` to corner `to`
// (neighbours on the ring): the coordinate the two corners share moves out to the bevel.
Point3 EdgePoint(const SideFrame& side, int k, int from, int to) {
    float p = kFaceInset * kRing[k][0], q = kFaceInset * kRing[k][1];
    if (kRing[from][0] == kRing[to][0]) p = kBevelOut * kRing[k][0];
    else q = kBevelOut * kRing[k][1];
    return ToModel(side, p, q, kBevelOut);
}

SceneVertex* WriteCubeSide(SceneVertex* out, const SideFrame& side) {
    Point3 face[4];
    for (int k = 0; k < 4; ++k) face[k] = FaceCorner(side, k);
    out = WriteCubeTriangle(out, side, face[2], face[3], face[0]);
    out = WriteCubeTriangle(out, side, face[0], face[1], face[2]);
    for (int k = 0; k < 4; ++k) {   // the face's half of the bevel along edge k -> k+1
        const int next = (k + 1) % 4;
        const Point3 e0 = EdgePoint(side, k, k, next), e1 = EdgePoint(side, next, k, next);
        out = WriteCubeTriangle(out, side, face[k], e0, e1);
        out = WriteCubeTriangle(out, side, e1, face[next], face[k]);
    }
    for (int k = 0; k < 4; ++k) {   // the two triangles of corner k's fan on this face
        const int prev = (k + 3) % 4, next = (k + 1) % 4;
        const Point3 corner = CornerPoint(side, kRing[k][0], kRing[k][1]);
        out = WriteCubeTriangle(out, side, face[k], EdgePoint(side, k, prev, k), corner);
        out = WriteCubeTriangle(out, side, face[k], corner, EdgePoint(side, k, k, next));
    }
    return out;
}

SceneVertex* WriteCube(SceneVertex* out) {
    for (const SideFrame& side : kSides) out = WriteCubeSide(out, side);
    return out;
}

// ---- Slabs --------------------------------------------------------------------------

struct Slab {
    float centreX, centreZ, width;
};

constexpr Slab kSlabs[kSlabCount] = {
    {0.000f, 0.000f, 2.0f},       {1.800f, -0.300f, 0.7476f},  {0.300f, -2.400f, 0.7476f},
    {-1.500f, -1.600f, 0.7476f},  {-2.700f, 0.700f, 0.7476f},  {-0.900f, 2.300f, 0.7476f},
    {1.300f, 1.800f, 0.7476f},    {3.000f, 1.700f, 0.4673f},   {3.600f, 0.600f, 0.4673f},
    {3.200f, -0.800f, 0.4673f},   {2.400f, -2.100f, 0.4673f},  {1.500f, -3.400f, 0.4673f},
    {0.000f, -3.700f, 0.4673f},   {-1.600f, -3.100f, 0.4673f}, {-3.000f, -1.800f, 0.4673f},
    {-3.900f, -0.300f, 0.4673f},  {-3.000f, 2.300f, 0.4673f},  {0.200f, 3.700f, 0.4673f},
    {1.800f, 2.900f, 0.4673f},    {2.800f, 3.700f, 0.2336f},   {3.200f, 3.100f, 0.2336f},
    {3.800f, 1.800f, 0.2336f},    {4.883f, 0.300f, 0.2336f},   {3.900f, -1.500f, 0.2336f},
    {2.900f, -3.100f, 0.2336f},   {1.800f, -4.300f, 0.2336f},  {0.000f, -4.883f, 0.2336f},
    {-1.400f, -4.100f, 0.2336f},  {-3.400f, -3.200f, 0.2336f}, {-4.883f, -0.800f, 0.2336f},
    {-4.000f, 1.200f, 0.2336f},   {-2.800f, 3.900f, 0.2336f},  {-0.600f, 4.883f, 0.2336f},
    {1.400f, 4.500f, 0.2336f},
};

constexpr float kSideDepth = 0.05f;   // sides hang down by this part of the slab's width

// Texture coordinates of the six vertices of every quad; scaled per run.
constexpr float kQuadTex[6][2] = {{0, 1}, {1, 1}, {1, 0}, {1, 0}, {0, 0}, {0, 1}};

struct Corner2 {
    float x, z;
};

SceneVertex* WriteQuad(SceneVertex* out, const Point3 (&points)[6], float uScale,
                       float vScale) {
    for (int i = 0; i < 6; ++i)
        *out++ = Vertex(points[i].c[0], points[i].c[1], points[i].c[2],
                        kQuadTex[i][0] * uScale, kQuadTex[i][1] * vScale);
    return out;
}

SceneVertex* WriteSlabTop(SceneVertex* out, const Slab& slab, float texScale) {
    const float h = slab.width * 0.5f, y = kSlabTopY;
    const float x0 = slab.centreX - h, x1 = slab.centreX + h;
    const float z0 = slab.centreZ - h, z1 = slab.centreZ + h;
    const Point3 points[6] = {{{x0, y, z1}}, {{x1, y, z1}}, {{x1, y, z0}},
                              {{x1, y, z0}}, {{x0, y, z0}}, {{x0, y, z1}}};
    return WriteQuad(out, points, texScale, texScale);
}

// The four sides run around the slab in one sense: +z, +x, -z, -x, each from A to B seen
// from outside, written A low, B low, B high, B high, A high, A low.
SceneVertex* WriteSlabSides(SceneVertex* out, const Slab& slab) {
    const float h = slab.width * 0.5f, high = kSlabTopY, low = kSlabTopY - kSideDepth * slab.width;
    const float x0 = slab.centreX - h, x1 = slab.centreX + h;
    const float z0 = slab.centreZ - h, z1 = slab.centreZ + h;
    const Corner2 ring[5] = {{x0, z1}, {x1, z1}, {x1, z0}, {x0, z0}, {x0, z1}};
    for (int k = 0; k < 4; ++k) {
        const Corner2 a = ring[k], b = ring[k + 1];
        const Point3 points[6] = {{{a.x, low, a.z}},  {{b.x, low, b.z}},  {{b.x, high, b.z}},
                                  {{b.x, high, b.z}}, {{a.x, high, a.z}}, {{a.x, low, a.z}}};
        out = WriteQuad(out, points, 2.0f, 0.25f);
    }
    return out;
}

SceneVertex* WriteSlabs(SceneVertex* out) {
    out = WriteSlabTop(out, kSlabs[0], 2.0f);
    for (UINT i = 1; i < kSlabCount; ++i) out = WriteSlabTop(out, kSlabs[i], 1.0f);
    for (const Slab& slab : kSlabs) out = WriteSlabSides(out, slab);
    return out;
}

// ---- Glow band ----------------------------------------------------------------------

constexpr SceneVertex kGlowBand[8] = {
    {-14.0f, -2.08f, -7.0f, 0.11f, 0.11f}, {-14.0f, 0.1f, -15.0f, 0.11f, 0.99f},
    {14.0f, -2.08f, -7.0f, 0.99f, 0.11f},  {14.0f, 0.1f, -15.0f, 0.99f, 0.99f},
    {14.0f, 2.08f, -7.0f, 0.11f, 0.11f},   {14.0f, -0.1f, -15.0f, 0.11f, 0.99f},
    {-14.0f, 2.08f, -7.0f, 0.99f, 0.11f},  {-14.0f, -0.1f, -15.0f, 0.99f, 0.99f},
};

}  // namespace

void WriteSceneVertices(SceneVertex* out) {
    out = WriteCone(out, 3.0f);
    out = WriteCone(out, 2.0f);
    out = WriteCube(out);
    out = WriteSlabs(out);
    std::memcpy(out, kGlowBand, sizeof(kGlowBand));
}

// The buffer belongs to the current render unit's device. A buffer that cannot be locked
// is released again and the build fails with E_FAIL: a buffer without its vertices must
// not be drawn, and the next restore starts from nothing.
HRESULT SkyScene::BuildGeometry() {
    IDirect3DVertexBuffer8*& buffer = Objects().vertexBuffer;
    ReleaseAndClear(buffer);
    if (!activeDevice) return E_FAIL;
    if (FAILED(activeDevice->CreateVertexBuffer(kSceneBufferBytes, D3DUSAGE_WRITEONLY,
                                                kSceneVertexFormat, D3DPOOL_MANAGED, &buffer))) {
        buffer = nullptr;
        return E_FAIL;
    }
    BYTE* data = nullptr;
    if (FAILED(buffer->Lock(0, 0, &data, 0))) {
        ReleaseAndClear(buffer);
        return E_FAIL;
    }
    if (!data) {
        buffer->Unlock();
        ReleaseAndClear(buffer);
        return E_FAIL;
    }
    WriteSceneVertices(reinterpret_cast<SceneVertex*>(data));
    buffer->Unlock();
    return S_OK;
}
