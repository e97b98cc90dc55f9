#include "translator/posterImage.h"

#include "pdf/3d/Pdf3dNames.h"
#include "runtime/str/str.h"
#include "translator/conversionError.h"
#include "translator/conversionOptions.h"
#include "translator/customEntryKeys.h"
#include "u3d/reader.h"
#include "u3d/sceneInstances.h"

#include <cstring>
#include <iterator>

namespace {

// The renderer's modes and schemes by the names the view writes.
const struct {
    const char* name;
    render::renderModeE mode;
} kRenderModes[] = {
    {"BoundingBox", render::renderModeE::boundingBox},
    {"TransparentBoundingBox", render::renderModeE::transparentBoundingBox},
    {"TransparentBoundingBoxOutline", render::renderModeE::transparentBoundingBoxOutline},
    {"Vertices", render::renderModeE::vertices},
    {"ShadedVertices", render::renderModeE::shadedVertices},
    {"Wireframe", render::renderModeE::wireframe},
    {"ShadedWireframe", render::renderModeE::shadedWireframe},
    {"Transparent", render::renderModeE::transparent},
    {"SolidWireframe", render::renderModeE::solidWireframe},
    {"TransparentWireframe", render::renderModeE::transparentWireframe},
    {"Illustration", render::renderModeE::illustration},
    {"SolidOutline", render::renderModeE::solidOutline},
    {"ShadedIllustration", render::renderModeE::shadedIllustration},
    {"HiddenWireframe", render::renderModeE::hiddenWireframe},
    {"Solid", render::renderModeE::solid},
};

const struct {
    const char* name;
    render::lightingSchemeE scheme;
} kLightingSchemes[] = {
    {"White", render::lightingSchemeE::white},     {"Day", render::lightingSchemeE::day},
    {"Night", render::lightingSchemeE::night},     {"Hard", render::lightingSchemeE::hard},
    {"Primary", render::lightingSchemeE::primary}, {"Blue", render::lightingSchemeE::blue},
    {"Red", render::lightingSchemeE::red},         {"Cube", render::lightingSchemeE::cube},
    {"CAD", render::lightingSchemeE::cad},         {"Headlamp", render::lightingSchemeE::headlamp},
};

// The entry of the table whose name the PDF writer writes for index; the
// options hold only indexes that the writer's tables have.
template <class Entry, size_t N>
const Entry& named(const Entry (&table)[N], const Pdf3dNameTable& names, int index) {
    const char* name = Pdf3dNameFor(names, index);
    for (const Entry& entry : table)
        if (std::strcmp(entry.name, name) == 0)
            return entry;
    return table[0];
}

render::drawingS drawingOf(const conversionOptionsS& options) {
    render::drawingS drawing;
    drawing.mode = named(kRenderModes, kPdf3dRenderModes, options.renderMode).mode;
    drawing.lighting = named(kLightingSchemes, kPdf3dLightingSchemes, options.lightingScheme).scheme;
    if (options.background)
        drawing.background = {(*options.background)[0], (*options.background)[1], (*options.background)[2]};
    return drawing;
}

conversionErrorC undrawable(const str& u3dPath, const char* reason) {
    return conversionErrorC(str("cannot draw the poster: the U3D file ") + u3dPath + " does not decode: " +
                            reason + "; leave " + kEntryPoster + " off to embed it as it is");
}

}  // namespace

render::imageS drawPoster(const str& u3dPath, const defaultCameraS& camera, const conversionOptionsS& options,
                          int width, int height) {
    render::cameraS view;
    for (int i = 0; i < Pdf3dCameraMatrix::kCount; ++i)
        view.cameraToWorld[size_t(i)] = camera.cameraToWorld[i];
    view.centreOfOrbit = camera.distance;
    try {
        const u3d::u3dFileS model = u3d::readU3dFile(u3dPath.text());
        return render::renderPoster(model.scene, view, drawingOf(options), width, height);
    } catch (const u3d::formatError& error) {
        throw undrawable(u3dPath, error.what());
    } catch (const u3d::sceneError& error) {
        throw undrawable(u3dPath, error.what());
    }
}
