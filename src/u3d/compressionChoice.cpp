#include "u3d/compressionChoice.h"

#include "u3d/contexts.h"

#include <bit>
#include <cstdint>

namespace u3d {

namespace {

// Bytes written either way, and bytes written plainly or coded.
struct estimateS {
    double same = 0;
    double plain = 0;
    double coded = 0;

    void add(double count, double plainBytes, double codedBytes) {
        plain += count * plainBytes;
        coded += count * codedBytes;
    }
};

// An index into `count` values: four bytes plainly; coded, about
// log2(count) bits, or four bytes from the static contexts' limit on.
double codedIndexBytes(std::size_t count) {
    if (count >= kMaxRange - kStaticFull)
        return 4;
    return double(std::bit_width(count)) / 8;
}

void addMesh(estimateS& e, const geometryS& g) {
    const double corners = double(g.positionIndices.size());
    e.same += 12.0 * double(g.positions.size());
    e.add(corners, 4, codedIndexBytes(g.positions.size()));
    if (!g.normalIndices.empty()) {
        e.same += 12.0 * double(g.normals.size());
        e.add(corners, 4, codedIndexBytes(g.normals.size()));
    }
    if (!g.diffuseIndices.empty()) {
        e.same += 16.0 * double(g.diffuseColors.size());
        e.add(corners, 4, codedIndexBytes(g.diffuseColors.size()));
    }
    e.add(double(g.primitiveCount()), 4, 0.25);  // shading ids, mostly one
}

// Line and point sets are differences and counts, which the adaptive
// contexts shrink to a fraction: per position a split index, signs, three
// magnitudes and two counts; per primitive a shading id, normal indices and
// (for a line) its first position; per colour a flag, signs and four
// magnitudes.
void addPrimitiveSet(estimateS& e, const geometryS& g) {
    const double ends = double(cornersPerPrimitive(g.kind));
    e.add(double(g.positions.size()), 25, 8);
    e.add(double(g.primitiveCount()), 4 + 4 * ends + (ends - 1) * 4, 1 + ends * 0.25 + (ends - 1) * 2);
    if (!g.diffuseIndices.empty())
        e.add(double(g.positionIndices.size()), 18, 6);
}

}  // namespace

bool plainIsAsGood(const sceneS& scene) {
    estimateS e;
    for (const geometryS& g : scene.geometries) {
        if (g.kind == geometryKindE::mesh)
            addMesh(e, g);
        else
            addPrimitiveSet(e, g);
    }
    // A file with nothing to code is coded: the profile would change nothing.
    return e.plain > 0 && e.same + e.plain <= (e.same + e.coded) * 1.125;
}

}  // namespace u3d
