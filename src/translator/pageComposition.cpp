#include "translator/pageComposition.h"

#include "pdf/3d/Pdf3DAnnot.h"
#include "pdf/3d/Pdf3DStream.h"
#include "pdf/3d/Pdf3dAnnotActivation.h"
#include "pdf/3d/Pdf3dLightingScheme.h"
#include "pdf/3d/Pdf3dRenderMode.h"
#include "pdf/3d/Pdf3dView.h"
#include "pdf/PdfContents.h"
#include "pdf/PdfDoc.h"
#include "pdf/PdfFormXObject.h"
#include "pdf/PdfImageXObject.h"
#include "pdf/PdfPage.h"
#include "pdf/PdfXref.h"
#include "runtime/str/str.h"
#include "translator/conversionError.h"
#include "translator/conversionLog.h"
#include "translator/conversionRequest.h"
#include "translator/namedViews.h"
#include "translator/posterImage.h"

#include <cerrno>
#include <cstdio>
#include <memory>

namespace {

// Indexes into the name tables of the 3D dictionaries.
constexpr int kActivateOnPageOpen = 0;    // A "PO"
constexpr int kDeactivateToInstance = 1;  // DIS "I"

// The annotation's rectangle, inset by the margin on every side.
constexpr int kAnnotationWidth = kPageWidth - kAnnotationMargin;
constexpr int kAnnotationHeight = kPageHeight - kAnnotationMargin;
constexpr int kAnnotationLeft = (kPageWidth - kAnnotationWidth) / 2;
constexpr int kAnnotationBottom = (kPageHeight - kAnnotationHeight) / 2;

// What the poster's image is called in its form's resources.
const char kPosterImageName[] = "Poster";
// The name of the default view in the list of views.
const char kDefaultViewName[] = "Default";

void paintBackground(PdfPage& page) {
    page.GetContents()->SetRGBFill(255, 255, 255).Rectangle(0, 0, kPageWidth, kPageHeight).Fill();
}

Pdf3DAnnot* addAnnotation(PdfPage& page) {
    return Add3DAnnot(page, kAnnotationLeft, kAnnotationBottom, kAnnotationLeft + kAnnotationWidth,
                      kAnnotationBottom + kAnnotationHeight);
}

void setActivation(Pdf3DAnnot& annotation, const conversionOptionsS& options) {
    Pdf3dAnnotActivation* activation = annotation.GetActivation();
    activation->SetActivationMode(kActivateOnPageOpen);
    activation->SetDeactivationState(kDeactivateToInstance);
    if (options.toolbar)
        activation->SetToolbar(*options.toolbar);
    if (options.modelTree)
        activation->SetNavigationPanel(*options.modelTree);
    annotation.SetInteractive(true);
}

void setView(Pdf3dView& view, const conversionOptionsS& options) {
    view.GetLightingScheme()->SetScheme(options.lightingScheme);
    view.GetRenderMode()->SetMode(options.renderMode);
    // White through the 0 to 255 form unless asked otherwise: the bytes of
    // a conversion without custom entries stay as they were.
    if (options.background)
        view.SetBackgroundColour((*options.background)[0], (*options.background)[1], (*options.background)[2]);
    else
        view.SetBackground(255, 255, 255);
}

void setCamera(Pdf3dView& view, const defaultCameraS& camera) {
    view.SetCameraMatrix(camera.cameraToWorld);
    view.SetCameraDistance(camera.distance);
}

[[noreturn]] void cannotRead(const str& u3dPath, int error) {
    throw conversionErrorC(withSystemReason(str("cannot read the U3D file ") + u3dPath, error));
}

void requireModelPath(const str& u3dPath) {
    if (u3dPath.length() == 0)
        throw conversionErrorC("the request names no U3D file: INPUTDATA has no record with a FILENAME text");
}

void loadModel(Pdf3DAnnot& annotation, const str& u3dPath) {
    conversionStep(kLogLineLoadU3d, (str("Load u3d file: ") + u3dPath).text());
    requireModelPath(u3dPath);
    // The stream reports only that the file could not be opened or read;
    // errno still holds the system's reason, as nothing runs after the
    // failed call.
    errno = 0;
    if (!annotation.LoadU3DFile(u3dPath.text()))
        cannotRead(u3dPath, errno);
}

// The poster's image, compressed and not yet registered: it is drawn before
// the model is loaded, so that the decoded model and the renderer's memory
// are gone before the compressed model takes its place.
std::unique_ptr<PdfImageXObject> drawPosterImage(PdfDoc& doc, const conversionRequestS& request,
                                                 const defaultCameraS& camera) {
    requireModelPath(request.u3dPath);
    // Said as the loading of the model would say it.
    if (std::FILE* file = std::fopen(request.u3dPath.text(), "rb"))
        std::fclose(file);
    else
        cannotRead(request.u3dPath, errno);
    const conversionOptionsS& options = request.custom.options;
    const auto [width, height] = render::posterPixels(kAnnotationWidth, kAnnotationHeight, options.posterResolution);
    conversionStep(kLogLinePoster, (str("Poster setting: ") + str(width) + " x " + str(height) + " pixels").text());
    render::imageS image = drawPoster(request.u3dPath, camera, options, width, height);
    auto object = std::make_unique<PdfImageXObject>(doc.GetXref(), image.width, image.height);
    object->SetPixels(image.rgb.data(), image.rgb.size());
    return object;
}

// The poster becomes the annotation's normal appearance: a form over the
// annotation's rectangle that paints the image (ISO 32000-1, 12.5.5). The
// annotation is then printed too (12.5.3): a printout shows the poster.
void setAppearance(PdfDoc& doc, Pdf3DAnnot& annotation, std::unique_ptr<PdfImageXObject> image) {
    auto* form = new PdfFormXObject(doc.GetXref(), kAnnotationLeft, kAnnotationBottom,
                                    kAnnotationLeft + kAnnotationWidth, kAnnotationBottom + kAnnotationHeight);
    doc.GetXref()->AddObject(form);
    doc.GetXref()->AddObject(image.get());
    PdfImageXObject* registered = image.release();
    form->PaintImage(kPosterImageName, registered);
    annotation.SetNormalAppearance(form);
    annotation.SetFlags(PdfAnnotFlagPrint);
}

// The list of views a viewer offers (ISO 32000-1, 13.6.3, VA): the default
// view first, by name, so that the viewer can return to it, and the named
// views after it, each with the default view's settings.
void addViews(PdfXref* xref, Pdf3DStream& stream, const conversionRequestS& request, const defaultCameraS& camera) {
    const conversionOptionsS& options = request.custom.options;
    conversionStep(kLogLineViews, "Views setting");
    auto add = [&](const char* name, const defaultCameraS& viewCamera) {
        auto* view = new Pdf3dView(xref, name);
        stream.AddView(view);
        setView(*view, options);
        setCamera(*view, viewCamera);
    };
    add(kDefaultViewName, camera);
    for (int view = 0; view < kNamedViewCount; ++view)
        if (options.views & (1u << view))
            add(namedViewName(namedViewE(view)), namedViewCamera(namedViewE(view), request.boxMin, request.boxMax));
    stream.SetDefaultView(0);
}

}  // namespace

defaultCameraS viewCamera(const conversionRequestS& request) {
    const defaultCameraS camera = defaultCamera(boxDiagonal(request.boxMin, request.boxMax));
    if (!request.custom.options.centerView)
        return camera;
    return aimedAt(camera, boxCentre(request.boxMin, request.boxMax));
}

void composePage(PdfDoc& doc, const conversionRequestS& request, const defaultCameraS& camera) {
    const conversionOptionsS& options = request.custom.options;
    PdfPage& page = *doc.AddPage();
    page.SetSize(kPageWidth, kPageHeight);
    conversionStep(kLogLineCanvas, "Canvas setting");
    paintBackground(page);

    Pdf3DAnnot& annotation = *addAnnotation(page);
    conversionStep(kLogLineActivation, "Activation setting");
    setActivation(annotation, options);

    conversionStep(kLogLineView, "View setting");
    Pdf3dView& view = *annotation.GetView();
    setView(view, options);
    conversionStep(kLogLineCamera, "Camera setting");
    setCamera(view, camera);

    std::unique_ptr<PdfImageXObject> poster;
    if (options.poster)
        poster = drawPosterImage(doc, request, camera);

    loadModel(annotation, request.u3dPath);
    if (options.views)
        addViews(doc.GetXref(), *annotation.Get3DStream(), request, camera);
    if (poster)
        setAppearance(doc, annotation, std::move(poster));
}
