// A CLOD mesh resource as its blocks arrive: the declaration, the base
// mesh, then resolution updates, each of which adds one position and the
// faces around it and moves faces from its split position to it.
#pragma once

#include "u3d/bitReader.h"
#include "u3d/elementBudget.h"
#include "u3d/faceAdjacency.h"
#include "u3d/meshShading.h"
#include "u3d/scene.h"

#include <cstdint>
#include <vector>

namespace u3d {

// Each read function takes the block after its name (the caller has read
// it to find the resource) and adds what the block holds to `mesh`.
// Normals are read as the format requires but kept only when the whole
// mesh arrives in its base mesh: progressive normals are predicted from
// neighbouring faces, which the scene does not need to stand in the world.
class clodMeshC {
public:
    void readDeclaration(bitReaderC& in, geometryS& mesh);
    void readBaseMesh(bitReaderC& in, geometryS& mesh);
    void readResolutionUpdates(bitReaderC& in, geometryS& mesh);
    // After the last block: what the mesh keeps.
    void finish(geometryS& mesh) const;

private:
    struct newFaceS {
        uint32_t corners[3];
        uint32_t shading;
        uint8_t splitCorner;
        uint8_t newCorner;
        // Diffuse colours of the split, new and third corners.
        uint32_t colors[3];
    };

    void startAdjacency(const geometryS& mesh);
    void readResolutionUpdate(bitReaderC& in, geometryS& mesh, elementBudgetC& budget);
    void readNewDiffuseColors(bitReaderC& in, geometryS& mesh, uint32_t split, uint16_t count);
    void readNewFaces(bitReaderC& in, geometryS& mesh, uint32_t split, uint32_t count);
    void readStayOrMove(bitReaderC& in, geometryS& mesh, uint32_t split);
    void readMovedFaceAttributes(bitReaderC& in, geometryS& mesh, uint32_t split, uint32_t colorBase);
    void readNewFaceAttributes(bitReaderC& in, geometryS& mesh);
    uint32_t readFaceColor(bitReaderC& in, const geometryS& mesh, bool repeat, uint32_t previous,
                           const std::vector<uint32_t>& local);
    void applyUpdate(geometryS& mesh, uint32_t split);
    void readNewPosition(bitReaderC& in, geometryS& mesh, uint32_t split);
    void readNormalUpdates(bitReaderC& in, geometryS& mesh, elementBudgetC& budget);
    // The diffuse colour indices at the corners of faces (with diffuse
    // colours) that use `position`, highest first.
    void diffuseColorsAt(const geometryS& mesh, uint32_t position, std::vector<uint32_t>& colors);
    uint32_t shadingIdOf(const geometryS& mesh, uint32_t face) const {
        return face < mesh.shadingIds.size() ? mesh.shadingIds[face] : 0;
    }
    uint32_t faceCount(const geometryS& mesh) const { return static_cast<uint32_t>(mesh.positionIndices.size() / 3); }

    // From the declaration.
    bool declared_ = false;
    bool excludeNormals_ = false;
    bool hasDiffuse_ = false;
    std::vector<meshShadingS> shadings_;
    uint32_t maxFaces_ = 0;
    uint32_t maxPositions_ = 0;
    float inverseQuantPosition_ = 1;
    float inverseQuantDiffuse_ = 1;

    bool progressiveNormals_ = false;
    faceAdjacencyC adjacency_;

    // Scratch of one resolution update, kept to spare allocations.
    std::vector<uint32_t> splitFaces_;
    std::vector<uint32_t> localPositions_;
    std::vector<uint32_t> leftThirds_;
    std::vector<uint32_t> rightThirds_;
    std::vector<uint32_t> movePositions_;
    std::vector<uint32_t> stayPositions_;
    std::vector<uint32_t> movedFaces_;
    std::vector<newFaceS> newFaces_;
    std::vector<uint32_t> splitColors_;
    std::vector<uint32_t> thirdColors_;
    std::vector<uint32_t> scratchFaces_;
    std::vector<uint32_t> normalPositions_;
    // Diffuse corners of moved faces that change colour: corner, colour.
    std::vector<std::pair<uint32_t, uint32_t>> colorChanges_;
    // The last colours of a new face's corners, for the repeat flags; each
    // block starts again from 0.
    uint32_t previousColors_[3] = {0, 0, 0};
};

}  // namespace u3d
