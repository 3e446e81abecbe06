// The scene's vertices, written without a device: values, facing and the slabs' shape.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "scene/scene_geometry.h"

namespace {

struct Vec {
    double x, y, z;
};
Vec Pos(const SceneVertex& v) { return {v.x, v.y, v.z}; }
Vec Sub(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec Cross(Vec a, Vec b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
// Clockwise on the screen seen from the side the normal points to (left-handed space).
Vec Normal(const SceneVertex* t) { return Cross(Sub(Pos(t[1]), Pos(t[0])), Sub(Pos(t[2]), Pos(t[0]))); }
Vec Centroid(const SceneVertex* t) {
    return {(t[0].x + t[1].x + t[2].x) / 3, (t[0].y + t[1].y + t[2].y) / 3,
            (t[0].z + t[1].z + t[2].z) / 3};
}

class SceneVertices : public ::testing::Test {
protected:
    void SetUp() override {
        vertices.assign(kSceneVertexCount + 1, SceneVertex{7, 7, 7, 7, 7});
        WriteSceneVertices(vertices.data());
    }
    void ExpectVertex(UINT i, float x, float y, float z, float u, float v, float tolerance) {
        SCOPED_TRACE(i);
        const SceneVertex& w = vertices[i];
        const float got[] = {w.x, w.y, w.z, w.u, w.v}, want[] = {x, y, z, u, v};
        for (int k = 0; k < 5; k++) EXPECT_NEAR(got[k], want[k], tolerance) << k;
    }
    std::vector<SceneVertex> vertices;
};

TEST_F(SceneVertices, ListedValuesAndNothingPastTheEnd) {
    ExpectVertex(0, 15, -0.1f, 0, 2, 0, 1e-6f);
    ExpectVertex(1, 0, -3, 0, 0, 0, 0);
    ExpectVertex(3, 0, 0.1f, 15, 0, 2, 1e-6f);
    ExpectVertex(289, 0, -2, 0, 0, 0, 0);
    ExpectVertex(576, -0.175f, 0.175f, 0.25f, -0.2625f, 0.2625f, 1e-6f);
    ExpectVertex(900, -1, 0.0496f, 1, 0, 2, 1e-3f);
    ExpectVertex(1920, -14, -2.08f, -7, 0.11f, 0.11f, 0);
    ExpectVertex(1927, -14, -0.1f, -15, 0.99f, 0.99f, 0);
    EXPECT_EQ(vertices[kSceneVertexCount].x, 7.0f);   // exactly 1928 written
}

TEST_F(SceneVertices, SlabTopsFaceUpAtTheirHeightAndSidesFaceOutwards) {
    for (UINT i = kCentralTopFirst; i < kSlabSidesFirst; ++i) {
        EXPECT_NEAR(vertices[i].y, 0.0496, 0.001) << i;
        const float scale = i < kOtherTopsFirst ? 2.0f : 1.0f;
        EXPECT_TRUE(vertices[i].u == 0 || vertices[i].u == scale) << i;
        EXPECT_TRUE(vertices[i].v == 0 || vertices[i].v == scale) << i;
        if ((i - kCentralTopFirst) % 3 == 0) EXPECT_GT(Normal(&vertices[i]).y, 1e-4) << i;
    }
    for (UINT t = 0; t < kSlabSidesTriangles; ++t) {
        const SceneVertex* tri = &vertices[kSlabSidesFirst + 3 * t];
        const SceneVertex* top = &vertices[t < 8 ? kCentralTopFirst : kOtherTopsFirst + 6 * (t / 8 - 1)];
        const Vec middle = {(top[0].x + top[2].x) / 2, tri[0].y, (top[0].z + top[2].z) / 2};
        const Vec n = Normal(tri);
        EXPECT_GT(Dot(n, Sub(Centroid(tri), middle)), 1e-6) << t;   // slab's own sides, outwards
        EXPECT_NEAR(n.y, 0, 1e-9) << t;
        const double width = top[1].x - top[0].x, high = vertices[kCentralTopFirst].y;
        for (int k = 0; k < 3; ++k) {
            EXPECT_TRUE(tri[k].y == high || std::fabs(tri[k].y - (high - 0.05 * width)) < 1e-6) << t;
            EXPECT_FLOAT_EQ(tri[k].v, tri[k].y == high ? 0.0f : 0.25f) << t;
            EXPECT_TRUE(tri[k].u == 0 || tri[k].u == 2) << t;
        }
    }
}

}  // namespace
