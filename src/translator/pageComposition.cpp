#include "translator/pageComposition.h"

#include "pdf/3d/Pdf3DAnnot.h"
#include "pdf/3d/Pdf3dAnnotActivation.h"
#include "pdf/3d/Pdf3dLightingScheme.h"
#include "pdf/3d/Pdf3dRenderMode.h"
#include "pdf/3d/Pdf3dView.h"
#include "pdf/PdfContents.h"
#include "pdf/PdfDoc.h"
#include "pdf/PdfPage.h"
#include "runtime/str/str.h"
#include "translator/conversionError.h"
#include "translator/conversionLog.h"
#include "translator/conversionRequest.h"

#include <cerrno>

namespace {

// Indexes into the name tables of the 3D dictionaries.
constexpr int kActivateOnPageOpen = 0;    // A "PO"
constexpr int kDeactivateToInstance = 1;  // DIS "I"
constexpr int kLightingWhite = 0;         // "White"
constexpr int kRenderSolidOutline = 11;   // "SolidOutline"

void paintBackground(PdfPage& page) {
    page.GetContents()->SetRGBFill(255, 255, 255).Rectangle(0, 0, kPageWidth, kPageHeight).Fill();
}

Pdf3DAnnot* addAnnotation(PdfPage& page) {
    const int width = kPageWidth - kAnnotationMargin;
    const int height = kPageHeight - kAnnotationMargin;
    const int left = (kPageWidth - width) / 2;
    const int bottom = (kPageHeight - height) / 2;
    return Add3DAnnot(page, left, bottom, left + width, bottom + height);
}

void setActivation(Pdf3DAnnot& annotation) {
    Pdf3dAnnotActivation* activation = annotation.GetActivation();
    activation->SetActivationMode(kActivateOnPageOpen);
    activation->SetDeactivationState(kDeactivateToInstance);
    annotation.SetInteractive(true);
}

void setView(Pdf3dView& view) {
    view.GetLightingScheme()->SetScheme(kLightingWhite);
    view.GetRenderMode()->SetMode(kRenderSolidOutline);
    view.SetBackground(255, 255, 255);
}

void setCamera(Pdf3dView& view, const defaultCameraS& camera) {
    conversionStep(kLogLineCamera, "Camera setting");
    view.SetCameraMatrix(camera.cameraToWorld);
    view.SetCameraDistance(camera.distance);
}

void loadModel(Pdf3DAnnot& annotation, const str& u3dPath) {
    conversionStep(kLogLineLoadU3d, (str("Load u3d file: ") + u3dPath).text());
    if (u3dPath.length() == 0)
        throw conversionErrorC("the request names no U3D file: INPUTDATA has no record with a FILENAME text");
    // The stream reports only that the file could not be opened or read;
    // errno still holds the system's reason, as nothing runs after the
    // failed call.
    errno = 0;
    if (!annotation.LoadU3DFile(u3dPath.text())) {
        const int error = errno;
        throw conversionErrorC(withSystemReason(str("cannot read the U3D file ") + u3dPath, error));
    }
}

}  // namespace

defaultCameraS viewCamera(const conversionRequestS& request) {
    const defaultCameraS camera = defaultCamera(boxDiagonal(request.boxMin, request.boxMax));
    if (!request.custom.options.centerView)
        return camera;
    return aimedAt(camera, boxCentre(request.boxMin, request.boxMax));
}

void composePage(PdfDoc& doc, const str& u3dPath, const defaultCameraS& camera) {
    PdfPage& page = *doc.AddPage();
    page.SetSize(kPageWidth, kPageHeight);
    conversionStep(kLogLineCanvas, "Canvas setting");
    paintBackground(page);

    Pdf3DAnnot& annotation = *addAnnotation(page);
    conversionStep(kLogLineActivation, "Activation setting");
    setActivation(annotation);

    conversionStep(kLogLineView, "View setting");
    Pdf3dView& view = *annotation.GetView();
    setView(view);
    setCamera(view, camera);

    loadModel(annotation, u3dPath);
}
