// The scene's motion at set times, and still sound after a million seconds of uptime.
#include <gtest/gtest.h>

#include <cmath>

#include "scene/frame_timer_clock.h"
#include "scene/sky_scene.h"

namespace {

struct Frame {
    float t;
    DWORD cameraPath;
    D3DXVECTOR3 eye, target;
    float glowAngle;
};

void ExpectMatrixNear(const D3DXMATRIX& a, const D3DXMATRIX& b, float tolerance) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(a.m[i / 4][i % 4], b.m[i / 4][i % 4], tolerance) << i;
}

void ExpectRotation(const D3DXMATRIX& m, float tolerance) {
    auto row = [&m](int i) { return D3DXVECTOR3(m.m[i][0], m.m[i][1], m.m[i][2]); };
    auto dot = [](const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; };
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(dot(row(i), row(j)), i == j ? 1.0f : 0.0f, tolerance) << i << j;
    const D3DXVECTOR3 a = row(1), b = row(2);
    EXPECT_NEAR(dot(row(0), D3DXVECTOR3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x)),
                1.0f, tolerance);
}

}  // namespace

TEST(Animation, CameraAndGlowFollowThePaths) {
    const Frame frames[] = {
        {0.0f, 0, {0, 0.5f, 2}, {0, 0.5f, 0}, 0},
        {0.0f, 1, {0, 0.5f, 2}, {0, 0, 0}, 0},
        {0.0f, 2, {0, 0.7f, 1.5f}, {0, 0.2f, 0}, 0},
        {1.0f, 0, {0.198669f, 0.561209f, 1.960133f}, {0, 0.380144f, 0}, 0.101010f},
        {1.0f, 2, {0.298004f, 0.7f, 1.470100f}, {0, 0.2f, 0}, 0.2f},
        {1.0f, 77, {0.298004f, 0.7f, 1.470100f}, {0, 0.2f, 0}, 0.2f},  // unknown: circular
        // After a million seconds, with the turns taken off in double precision.
        {1e6f, 0, {-0.068479f, 1.492031f, 1.995305f}, {0, 0.455542f, 0}, -0.0343066f},
        {1e6f, 2, {-0.102718f, 0.7f, 1.496479f}, {0, 0.2f, 0}, -0.0685326f},
    };
    SkyScene scene;
    for (const Frame& f : frames) {
        SCOPED_TRACE(::testing::Message() << "t " << f.t << " path " << f.cameraPath);
        scene.time = f.t;
        scene.cameraPath = f.cameraPath;
        scene.AdvanceScene();
        const D3DXVECTOR3 up(0, 1, 0);
        D3DXMATRIX expected;
        ExpectMatrixNear(scene.viewMatrix, *D3DXMatrixLookAtLH(&expected, &f.eye, &f.target, &up),
                         2e-5f);
        ExpectRotation(scene.viewMatrix, 1e-5f);
        ExpectMatrixNear(scene.glowMatrix, *D3DXMatrixRotationY(&expected, f.glowAngle), 2e-6f);
    }
}

TEST(Animation, CloudsDriftAndCubeHoversAndTumbles) {
    SkyScene scene;
    scene.skySpeed = 0.2f;
    scene.time = 2.5f;
    scene.AdvanceScene();
    EXPECT_NEAR(scene.cloudTexMatrix._32, 0.5f, 1e-7f);
    EXPECT_FLOAT_EQ(scene.cubeTranslation._42, 0.5f);
    scene.cubeAnimation = 1;
    scene.AdvanceScene();
    EXPECT_NEAR(scene.cubeTranslation._42, 0.550382f, 1e-6f);

    scene.time = 0.0f;
    scene.AdvanceScene();
    ExpectMatrixNear(scene.cubeWorld, scene.cubeTranslation, 0.0f);
    for (float t : {2.5f, 1e6f, 3e7f}) {
        scene.time = t;
        scene.AdvanceScene();
        ExpectRotation(scene.cubeWorld, 1e-6f);
        EXPECT_EQ(scene.cubeWorld._41, 0.0f);
        EXPECT_EQ(scene.cubeWorld._42, scene.cubeTranslation._42);
        EXPECT_EQ(scene.cubeWorld._43, 0.0f);
        // The turn about x by -t happens first: the x axis only feels the z turn.
        EXPECT_NEAR(scene.cubeWorld._11, std::cos(double(t)), 1e-6);
    }
}

static LONGLONG counterTicks = 0;
static BOOL WINAPI CounterFrequency(LARGE_INTEGER* f) { f->QuadPart = 10000000; return TRUE; }
static BOOL WINAPI CounterNow(LARGE_INTEGER* c) { c->QuadPart = counterTicks; return TRUE; }
static DWORD WINAPI NoMilliseconds() { return 0; }

TEST(Animation, MotionStaysSmoothAfterWeeksOfUptime) {
    // Three weeks after the machine started, frames a 60th of a second apart.
    static const FrameTimerClock clock = {CounterFrequency, CounterNow, NoMilliseconds};
    SetFrameTimerClock(&clock);
    SkyScene scene;
    const LONGLONG start = 21LL * 86400 * 10000000, frame = 10000000 / 60;
    double times[3];
    D3DXMATRIX view[3], clouds[3], cube[3];
    for (int i = 0; i < 3; i++) {
        counterTicks = start + i * frame;
        scene.RenderFrame();
        times[i] = scene.time;
        view[i] = scene.viewMatrix, clouds[i] = scene.cloudTexMatrix, cube[i] = scene.cubeWorld;
    }
    SetFrameTimerClock(nullptr);
    EXPECT_NEAR(times[0], 21 * 86400.0, 1e-6);
    EXPECT_NEAR(times[1] - times[0], frame / 1e7, 1e-7);
    EXPECT_NEAR(times[2] - times[1], frame / 1e7, 1e-7);
    EXPECT_NEAR(clouds[1]._32 - clouds[0]._32, 0.2 / 60.0, 1e-4);
    EXPECT_GT(std::fabs(cube[1]._11 - cube[0]._11) + std::fabs(cube[1]._12 - cube[0]._12), 1e-3);
    EXPECT_GT(std::fabs(view[1]._41 - view[0]._41) + std::fabs(view[1]._11 - view[0]._11), 1e-4);
}
