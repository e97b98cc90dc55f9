#include <gtest/gtest.h>

#include <string>

#include "Pdf3dTestSupport.h"
#include "pdf/3d/Pdf3dAnnotActivation.h"
#include "pdf/3d/Pdf3dLightingScheme.h"
#include "pdf/3d/Pdf3dNames.h"
#include "pdf/3d/Pdf3dRenderMode.h"
#include "pdf/3d/Pdf3dView.h"

TEST(Pdf3dNamesTest, TablesAndTheirEdges) {
    EXPECT_EQ(kPdf3dLightingSchemes.count, 10);
    EXPECT_EQ(kPdf3dRenderModes.count, 15);
    Pdf3dRenderMode render(nullptr);
    EXPECT_EQ(render.GetMode(), 14);
    render.SetMode(15);  // outside the table: the empty name
    EXPECT_EQ(Written(render), "<<\r\n/Type /3DRenderMode\r\n/Subtype /\r\n>>");
    EXPECT_EQ(render.GetMode(), -1);
    Pdf3dLightingScheme lighting(nullptr);
    lighting.SetScheme(9);
    EXPECT_EQ(Written(lighting), "<<\r\n/Type /3DLightingScheme\r\n/Subtype /Headlamp\r\n>>");
    EXPECT_EQ(Pdf3dIndexFor(kPdf3dRenderModes, "solid"), -1);  // case matters

    Pdf3dAnnotActivation activation(nullptr);
    EXPECT_EQ(activation.GetActivationMode(), 2);  // adds A "XA"
    EXPECT_EQ(activation.GetDeactivationState(), 0);
    activation.SetActivationMode(-1);
    EXPECT_EQ(Written(activation), "<<\r\n/A /\r\n/DIS /U\r\n>>");
}

TEST(Pdf3dViewTest, DefaultsOnFirstUseAndValuesReplacedInPlace) {
    Pdf3dView view(nullptr);
    EXPECT_STREQ(view.GetName(), "(Unnamed)");
    Pdf3dCameraMatrix camera;
    view.GetCameraMatrix(camera);
    EXPECT_EQ(camera[5], -1);
    EXPECT_EQ(view.GetCameraDistance(), 27.5);
    int r = 0, g = 0, b = 0;
    view.GetBackground(r, g, b);
    EXPECT_EQ(r + g + b, 3 * 255);
    view.GetRenderMode();
    EXPECT_EQ(Written(view),
              "<<\r\n/Type /3DView\r\n/XN /#28Unnamed#29\r\n/MS /M\r\n/C2W [1 0 0 0 0 -1 0 1 0 0 -1 0 ]\r\n"
              "/CO 27.5\r\n/BG <<\r\n/Subtype /SC\r\n/C [1 1 1 ]\r\n>>\r\n"
              "/RM <<\r\n/Type /3DRenderMode\r\n/Subtype /Solid\r\n>>\r\n>>");

    for (int i = 0; i < Pdf3dCameraMatrix::kCount; ++i)
        camera[i] = i - 5.5;
    view.SetCameraMatrix(camera);
    view.SetCameraDistance(3.11769);
    view.SetBackground(255, 0, 128);
    view.GetRenderMode()->SetMode(5);
    EXPECT_EQ(Written(view),
              "<<\r\n/Type /3DView\r\n/XN /#28Unnamed#29\r\n/MS /M\r\n"
              "/C2W [-5.5 -4.5 -3.5 -2.5 -1.5 -0.5 0.5 1.5 2.5 3.5 4.5 5.5 ]\r\n/CO 3.11769\r\n"
              "/BG <<\r\n/Subtype /SC\r\n/C [1 0 0.50196 ]\r\n>>\r\n"
              "/RM <<\r\n/Type /3DRenderMode\r\n/Subtype /Wireframe\r\n>>\r\n>>");

    // Every value of the 0 to 255 scale comes back from its stored fraction.
    for (int v = 0; v <= 255; ++v) {
        view.SetBackground(v, 255 - v, 0);
        view.GetBackground(r, g, b);
        ASSERT_EQ(r, v);
        ASSERT_EQ(g, 255 - v);
    }
}
