#include "pdf/3d/Pdf3dNames.h"

#include <cstring>
#include <iterator>

namespace {

const char* const kActivationModes[] = {"PO", "PV", "XA"};
const char* const kDeactivationStates[] = {"U", "I", "L"};
const char* const kLightingSchemes[] = {
    "White", "Day", "Night", "Hard", "Primary", "Blue", "Red", "Cube", "CAD", "Headlamp",
};
const char* const kRenderModes[] = {
    "BoundingBox",
    "TransparentBoundingBox",
    "TransparentBoundingBoxOutline",
    "Vertices",
    "ShadedVertices",
    "Wireframe",
    "ShadedWireframe",
    "Transparent",
    "SolidWireframe",
    "TransparentWireframe",
    "Illustration",
    "SolidOutline",
    "ShadedIllustration",
    "HiddenWireframe",
    "Solid",
};

template <size_t N>
constexpr Pdf3dNameTable TableOf(const char* const (&names)[N]) {
    return {names, static_cast<int>(N)};
}

}  // namespace

const Pdf3dNameTable kPdf3dActivationModes = TableOf(kActivationModes);
const Pdf3dNameTable kPdf3dDeactivationStates = TableOf(kDeactivationStates);
const Pdf3dNameTable kPdf3dLightingSchemes = TableOf(kLightingSchemes);
const Pdf3dNameTable kPdf3dRenderModes = TableOf(kRenderModes);

const char* Pdf3dNameFor(const Pdf3dNameTable& table, int index) {
    return index >= 0 && index < table.count ? table.names[index] : "";
}

int Pdf3dIndexFor(const Pdf3dNameTable& table, const char* name) {
    for (int i = 0; name && i < table.count; ++i)
        if (std::strcmp(table.names[i], name) == 0)
            return i;
    return -1;
}
