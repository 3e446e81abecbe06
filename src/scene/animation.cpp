// The scene's per-frame motion: AdvanceScene turns the application time and the three
// settings into the view, the cloud drift, the glow band's turn and the cube's lift and
// tumble.
//
// Everything is recomputed from `time` each frame; nothing is carried over, so equal times
// give equal frames and no error builds up. `time` counts from the clock's origin, usually
// the machine's start, so it can be large: products of time and rates are formed in double
// precision and SinCos takes the whole turns off before the sine is taken, which keeps the
// motion as smooth after weeks of uptime as in the first minute.
#include <cmath>

#include "gfxutil/double_precision.h"
#include "gfxutil/sin_cos.h"
#include "scene/sky_scene.h"

namespace {

const float kOrbitRate = 0.2f;   // radians per second around the vertical axis
const float kBobRate = 0.5f;     // radians per second of the height swing

double Sin(double angle) {
    double sine = 0.0, cosine = 0.0;
    SinCos(angle, &sine, &cosine);
    return sine;
}

D3DXVECTOR3 Point(double x, double y, double z) {
    return D3DXVECTOR3(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

// Eye and target of the camera path: 0 "Flying", 1 "Sinusoid", anything else "Circular".
void CameraPoints(DWORD cameraPath, double t, D3DXVECTOR3* eye, D3DXVECTOR3* target) {
    double orbitSin = 0.0, orbitCos = 0.0;
    SinCos(kOrbitRate * t, &orbitSin, &orbitCos);
    if (cameraPath > 1) {
        *eye = Point(1.5f * orbitSin, 0.7f, 1.5f * orbitCos);
        *target = Point(0.0, 0.2f, 0.0);
        return;
    }
    double bobSin = 0.0, bobCos = 0.0;
    SinCos(kBobRate * t, &bobSin, &bobCos);
    *eye = Point(orbitSin, 1.0f - 0.5f * bobCos, 2.0f * orbitCos);
    const double targetHeight = cameraPath == 0 ? 0.5f - 0.25f * bobSin : 0.0;
    *target = Point(0.0, targetHeight, 0.0);
}

}  // namespace

HRESULT SkyScene::AdvanceScene() {
    const DoublePrecision precision;
    const double t = time;

    D3DXVECTOR3 eye, target;
    CameraPoints(cameraPath, t, &eye, &target);
    const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    D3DXMatrixLookAtLH(&viewMatrix, &eye, &target, &up);

    // The cloud layer's texture coordinates slide along v. The texture repeats, so only the
    // fraction of the offset matters; keeping just that keeps the drift smooth when the
    // offset itself would be too large for a float to move in small steps.
    D3DXMatrixIdentity(&cloudTexMatrix);
    const double offset = double(skySpeed) * t;
    cloudTexMatrix._32 = static_cast<float>(offset - std::floor(offset));

    // The glow band's middle, built on -z, turns to the side of the sky opposite the eye.
    D3DXMatrixRotationY(&glowMatrix, static_cast<float>(std::atan2(eye.x, eye.z)));

    const double lift = cubeAnimation == 0 ? 0.5f : 0.7f - 0.25f * Sin(t);
    D3DXMatrixTranslation(&cubeTranslation, 0.0f, static_cast<float>(lift), 0.0f);

    // The cube turns about x, then about z, then is lifted.
    D3DXMATRIX turnX, turnZ, turned;
    const float tumble = static_cast<float>(ReduceAngle(-t));
    D3DXMatrixRotationX(&turnX, tumble);
    D3DXMatrixRotationZ(&turnZ, tumble);
    D3DXMatrixMultiply(&turned, &turnX, &turnZ);
    D3DXMatrixMultiply(&cubeWorld, &turned, &cubeTranslation);
    return S_OK;
}
