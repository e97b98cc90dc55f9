#include "pdf/3d/Pdf3dView.h"

#include "pdf/3d/Pdf3dEntries.h"
#include "pdf/3d/Pdf3dLightingScheme.h"
#include "pdf/3d/Pdf3dRenderMode.h"
#include "pdf/PdfArray.h"
#include "pdf/PdfScalars.h"
#include "pdf/PdfString.h"

namespace {

const char kUnnamed[] = "(Unnamed)";
const double kDefaultCamera[Pdf3dCameraMatrix::kCount] = {1, 0, 0, 0, 0, -1, 0, 1, 0, 0, -1, 0};
constexpr int kColourComponents = 3;

}  // namespace

Pdf3dView::Pdf3dView(PdfXref* xref) : PdfDictionary(xref) {
    SetTypeName("3DView");
    GetName();
}

Pdf3dView::Pdf3dView(PdfXref* xref, const char* name) : PdfDictionary(xref) {
    SetTypeName("3DView");
    AddElement("XN", new PdfText(name));
    AddElement("IN", new PdfText(name));
}

const char* Pdf3dView::GetName() {
    if (const auto* text = dynamic_cast<PdfText*>(GetElement("XN")))
        return text->GetValue();
    return Pdf3dNameEntry(*this, "XN", kUnnamed)->GetValue();
}

Pdf3dLightingScheme* Pdf3dView::GetLightingScheme() {
    return Pdf3dEntry<Pdf3dLightingScheme>(*this, "LS", [&] { return new Pdf3dLightingScheme(GetXref()); });
}

Pdf3dRenderMode* Pdf3dView::GetRenderMode() {
    return Pdf3dEntry<Pdf3dRenderMode>(*this, "RM", [&] { return new Pdf3dRenderMode(GetXref()); });
}

PdfArray* Pdf3dView::BackgroundColour() {
    PdfDictionary* background = Pdf3dEntry<PdfDictionary>(*this, "BG", [&] {
        auto* created = new PdfDictionary(GetXref());
        created->AddElement("Subtype", new PdfName("SC"));
        return created;
    });
    return Pdf3dEntry<PdfArray>(*background, "C", [&] {
        auto* white = new PdfArray(GetXref());
        for (int i = 0; i < kColourComponents; ++i)
            white->Add(new PdfReal(1));
        return white;
    });
}

void Pdf3dView::GetBackground(int& red, int& green, int& blue) {
    PdfArray* colour = BackgroundColour();
    int* components[kColourComponents] = {&red, &green, &blue};
    for (int i = 0; i < kColourComponents; ++i)
        *components[i] = static_cast<int>(colour->GetItemAsReal(i) * 255);
}

void Pdf3dView::SetBackground(int red, int green, int blue) {
    SetBackgroundColour(red / 255.0, green / 255.0, blue / 255.0);
}

void Pdf3dView::SetBackgroundColour(double red, double green, double blue) {
    PdfArray* colour = BackgroundColour();
    colour->Clear();
    for (double component : {red, green, blue})
        colour->Add(new PdfReal(component));
}

PdfArray* Pdf3dView::CameraArray() {
    Pdf3dNameEntry(*this, "MS", "M");
    return Pdf3dEntry<PdfArray>(*this, "C2W", [&] {
        auto* camera = new PdfArray(GetXref());
        for (double value : kDefaultCamera)
            camera->Add(new PdfReal(value));
        return camera;
    });
}

void Pdf3dView::GetCameraMatrix(Pdf3dCameraMatrix& matrix) {
    PdfArray* camera = CameraArray();
    for (int i = 0; i < Pdf3dCameraMatrix::kCount; ++i)
        matrix[i] = camera->GetItemAsReal(i);
}

void Pdf3dView::SetCameraMatrix(const Pdf3dCameraMatrix& matrix) {
    PdfArray* camera = CameraArray();
    camera->Clear();
    for (double value : matrix.values)
        camera->Add(new PdfReal(value));
}

PdfReal* Pdf3dView::CameraDistance() {
    return Pdf3dEntry<PdfReal>(*this, "CO", [] { return new PdfReal(kDefaultCameraDistance); });
}

double Pdf3dView::GetCameraDistance() { return CameraDistance()->GetValue(); }

void Pdf3dView::SetCameraDistance(double distance) { CameraDistance()->SetValue(distance); }
