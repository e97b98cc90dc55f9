// The default view of a 3D annotation (3DV).
#pragma once

#include "pdf/3d/Pdf3dCameraMatrix.h"
#include "pdf/PdfDictionary.h"

class PdfArray;
class PdfReal;
class Pdf3dLightingScheme;
class Pdf3dRenderMode;

// Camera, background, lighting and render mode of the view first shown.
// Every entry is added with its default the first time it is read or set;
// setters change values in place, so entries keep their order (Type, XN,
// then LS, RM, BG, MS, C2W, CO as they come into being).
class Pdf3dView : public PdfDictionary {
public:
    static constexpr double kDefaultCameraDistance = 27.5;

    // Adds Type "3DView" and XN.
    explicit Pdf3dView(PdfXref* xref);
    // A view a viewer lists by name (ISO 32000-1, 13.6.4, Table 304): Type,
    // then XN, the name the viewer shows, and IN, the name by which actions
    // and scripts find the view, both as the text strings the standard
    // asks for.
    Pdf3dView(PdfXref* xref, const char* name);
    ~Pdf3dView() override = default;

    // The view's name (XN), "(Unnamed)" unless set otherwise: the default
    // view writes it as a name, a named view as a text string.
    const char* GetName();
    Pdf3dLightingScheme* GetLightingScheme();
    Pdf3dRenderMode* GetRenderMode();

    // BG's colour on the 0 to 255 scale, truncated; white by default.
    void GetBackground(int& red, int& green, int& blue);
    // Stores each component divided by 255.
    void SetBackground(int red, int green, int blue);
    // Stores the components as given, on the 0 to 1 scale of BG's C.
    void SetBackgroundColour(double red, double green, double blue);

    // C2W, with MS "M" before it; the default camera looks along +y with z
    // up (1 0 0 0 0 -1 0 1 0 0 -1 0).
    void GetCameraMatrix(Pdf3dCameraMatrix& matrix);
    void SetCameraMatrix(const Pdf3dCameraMatrix& matrix);
    // Distance to the centre of orbit (CO).
    double GetCameraDistance();
    void SetCameraDistance(double distance);

private:
    // BG's C array, BG and C added with their defaults when missing.
    PdfArray* BackgroundColour();
    // C2W, MS and C2W added with their defaults when missing.
    PdfArray* CameraArray();
    // CO, added with the default distance when missing.
    PdfReal* CameraDistance();
};
