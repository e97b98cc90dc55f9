#include "pdf/3d/Pdf3dView.h"
#include "pdf/PdfStreamBase.h"
#include "translator/defaultCamera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

// The axes of the fixed view direction, to six decimals.
const double kAxes[9] = {-0.707107, 0, 0.707107, -0.353553, 0.866025, -0.353553, -0.612372, -0.5, -0.612372};

void expectCamera(const defaultCameraS& camera, double distance, double px, double py, double pz) {
    EXPECT_NEAR(camera.distance, distance, 1e-7);
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(camera.cameraToWorld[i], kAxes[i], 1e-6) << i;
    EXPECT_NEAR(camera.cameraToWorld[9], px, 1e-6);
    EXPECT_NEAR(camera.cameraToWorld[10], py, 1e-6);
    EXPECT_NEAR(camera.cameraToWorld[11], pz, 1e-6);
}

struct textSinkS : PdfStreamBase {
    std::string bytes;
    size_t WriteBytes(const void* data, size_t length) override {
        bytes.append(static_cast<const char*>(data), length);
        return length;
    }
};

TEST(DefaultCameraTest, CameraFollowsTheExtentOfTheBox) {
    const double unit = boxDiagonal({0, 0, 0}, {1, 1, 1});
    EXPECT_NEAR(unit, 1.7320508, 1e-7);
    expectCamera(defaultCamera(unit), 3.1176915, 1.909188, 1.558846, 1.909188);

    const double wide = boxDiagonal({-1, -2, -3}, {1, 2, 3});
    EXPECT_EQ(wide, std::sqrt(56.0));
    expectCamera(defaultCamera(wide), 13.4699666, 8.248636, 6.734983, 8.248636);

    // Only the squares of the extent count: exchanged corners and a moved
    // box give the very same camera.
    EXPECT_EQ(boxDiagonal({1, 2, 3}, {-1, -2, -3}), wide);
    EXPECT_EQ(boxDiagonal({9, 8, 7}, {11, 12, 13}), wide);
}

TEST(DefaultCameraTest, AnEmptyBoxPutsTheCameraAtTheOrigin) {
    const defaultCameraS camera = defaultCamera(boxDiagonal({4, 5, 6}, {4, 5, 6}));
    expectCamera(camera, 0, 0, 0, 0);
    // Positive zeros: the written form must read "0", not "-0".
    EXPECT_FALSE(std::signbit(camera.distance));
    for (int i = 9; i < 12; ++i)
        EXPECT_FALSE(std::signbit(camera.cameraToWorld[i])) << i;
}

TEST(DefaultCameraTest, TheViewWritesTheCameraWithFiveDecimals) {
    const defaultCameraS camera = defaultCamera(boxDiagonal({0, 0, 0}, {1, 1, 1}));
    Pdf3dView view(nullptr);
    view.SetCameraMatrix(camera.cameraToWorld);
    view.SetCameraDistance(camera.distance);
    textSinkS sink;
    view.WriteToStream(sink);
    EXPECT_NE(sink.bytes.find("/C2W [-0.70711 0 0.70711 -0.35355 0.86603 -0.35355 -0.61237 -0.5 -0.61237 "
                              "1.90919 1.55885 1.90919 ]\r\n/CO 3.11769\r\n"),
              std::string::npos)
        << sink.bytes;

    // Beyond 32767 / 1.8 the distance cannot be written.
    Pdf3dView far(nullptr);
    far.SetCameraDistance(defaultCamera(boxDiagonal({0, 0, 0}, {20000, 0, 0})).distance);
    textSinkS refused;
    EXPECT_ANY_THROW(far.WriteToStream(refused));
}

}  // namespace
