#include "u3d/clodMesh.h"

#include "u3d/contexts.h"
#include "u3d/updateFields.h"

#include <algorithm>
#include <functional>
#include <string>

namespace u3d {

namespace {

// Quantised differences: a sign bit per component in one U8 and the
// magnitudes, times the declaration's inverse quantisation factor, in
// single precision as the format's writers compute them.
float dequantise(uint8_t signs, unsigned bit, uint32_t magnitude, float factor) {
    const float value = factor * static_cast<float>(magnitude);
    return (signs >> bit) & 1 ? -value : value;
}

void insertDescending(std::vector<uint32_t>& set, uint32_t value) {
    const auto at = std::lower_bound(set.begin(), set.end(), value, std::greater<>());
    if (at == set.end() || *at != value)
        set.insert(at, value);
}

bool contains(const std::vector<uint32_t>& set, uint32_t value) {
    return std::find(set.begin(), set.end(), value) != set.end();
}

uint32_t checkedIndex(bitReaderC& in, uint32_t index, std::size_t count, const char* what) {
    if (index >= count)
        in.fail(std::string(what) + " index " + std::to_string(index) + " of " + std::to_string(count));
    return index;
}

// Reads a value with the static context of `count` values and checks it:
// from 0x3FFF values on the format stores them plainly, and a count of 0
// reads with an adaptive context, so neither bounds the value.
uint32_t readIndex(bitReaderC& in, std::size_t count, const char* what) {
    return checkedIndex(in, in.readCompressedU32(staticContext(static_cast<uint32_t>(count))), count, what);
}

}  // namespace

void clodMeshC::readDeclaration(bitReaderC& in, geometryS& mesh) {
    if (declared_)
        in.fail("a second declaration of the mesh");
    declared_ = true;
    in.readU32();  // modifier chain index
    excludeNormals_ = in.readU32() & 1;
    maxFaces_ = in.readU32();
    maxPositions_ = in.readU32();
    for (int i = 0; i < 4; ++i)
        in.readU32();  // normal, diffuse, specular and texture coordinate counts
    shadings_ = readMeshShadings(in);
    for (const meshShadingS& shading : shadings_)
        hasDiffuse_ = hasDiffuse_ || shading.diffuseColors;
    in.readU32();  // minimum resolution
    // The final maximum resolution is the number of positions at full
    // resolution; the position count above is the same claim.
    maxPositions_ = std::max(maxPositions_, in.readU32());
    for (int i = 0; i < 3; ++i)
        in.readU32();  // quality factors
    inverseQuantPosition_ = in.readF32();
    in.readF32();  // normals
    in.readF32();  // texture coordinates
    inverseQuantDiffuse_ = in.readF32();
    // Specular colours, the normal parameters and the skeleton follow:
    // nothing of them reaches the scene.
    mesh.kind = geometryKindE::mesh;
}

void clodMeshC::readBaseMesh(bitReaderC& in, geometryS& mesh) {
    if (!declared_)
        in.fail("a base mesh before the mesh's declaration");
    if (!mesh.positions.empty())
        in.fail("a second base mesh, or one after resolution updates");
    in.readU32();  // modifier chain index
    const uint32_t faces = in.readU32();
    const uint32_t positions = in.readU32();
    const uint32_t normals = in.readU32();
    const uint32_t diffuseColors = in.readU32();
    const uint32_t specularColors = in.readU32();
    const uint32_t textureCoords = in.readU32();
    if (faces > maxFaces_ || positions > maxPositions_)
        in.fail("a base mesh of " + std::to_string(faces) + " faces and " + std::to_string(positions) +
                " positions, but the declaration allows " + std::to_string(maxFaces_) + " and " +
                std::to_string(maxPositions_));
    // Every value below takes its 32 plain bits.
    const uint64_t values = 3 * uint64_t(positions) + 3 * uint64_t(normals) +
                            4 * (uint64_t(diffuseColors) + specularColors + textureCoords);
    if (values > in.bitsLeft() / 32)
        in.fail("base mesh counts of " + std::to_string(values) + " values, more than the block can hold");
    elementBudgetC budget(in);
    budget.spend(in, faces, "face");

    mesh.positions.resize(positions);
    for (vec3f& p : mesh.positions) {
        p.x = in.readF32();
        p.y = in.readF32();
        p.z = in.readF32();
    }
    mesh.normals.resize(excludeNormals_ ? 0 : normals);
    for (uint32_t i = 0; i < normals; ++i) {
        vec3f n;
        n.x = in.readF32();
        n.y = in.readF32();
        n.z = in.readF32();
        if (!excludeNormals_)
            mesh.normals[i] = n;
    }
    mesh.diffuseColors.resize(diffuseColors);
    for (color4f& c : mesh.diffuseColors) {
        c.r = in.readF32();
        c.g = in.readF32();
        c.b = in.readF32();
        c.a = in.readF32();
    }
    for (uint64_t i = 0; i < 4 * (uint64_t(specularColors) + textureCoords); ++i)
        in.readF32();

    mesh.positionIndices.reserve(3 * uint64_t(faces));
    if (!excludeNormals_)
        mesh.normalIndices.reserve(3 * uint64_t(faces));
    if (hasDiffuse_)
        mesh.diffuseIndices.reserve(3 * uint64_t(faces));
    for (uint32_t f = 0; f < faces; ++f) {
        const uint32_t id = in.readCompressedU32(ctx::kShadingId);
        const meshShadingS& shading = shadingOf(in, shadings_, id);
        appendShadingId(mesh, id);
        // The corners one after the other, each with all its indices.
        for (int corner = 0; corner < 3; ++corner) {
            mesh.positionIndices.push_back(readIndex(in, positions, "position"));
            if (!excludeNormals_)
                mesh.normalIndices.push_back(readIndex(in, normals, "normal"));
            if (shading.diffuseColors)
                mesh.diffuseIndices.push_back(readIndex(in, diffuseColors, "diffuse colour"));
            else if (hasDiffuse_)
                mesh.diffuseIndices.push_back(kNoIndex);
            if (shading.specularColors)
                readIndex(in, specularColors, "specular colour");
            for (uint32_t layer = 0; layer < shading.textureLayers; ++layer)
                readIndex(in, textureCoords, "texture coordinate");
        }
    }
}

// The face sets of the base mesh, made when the first resolution update
// needs them: a mesh that arrives whole in its base mesh (as meshes written
// from STL or OBJ do) never needs them, and for a million faces they would
// be the largest thing the reading holds.
void clodMeshC::startAdjacency(const geometryS& mesh) {
    if (adjacency_.positionCount() != 0 || mesh.positions.empty())
        return;
    adjacency_.reserve(mesh.positions.size());
    for (std::size_t p = 0; p < mesh.positions.size(); ++p)
        adjacency_.addPosition();
    for (uint32_t f = 0; f < faceCount(mesh); ++f)
        adjacency_.addFace(f, &mesh.positionIndices[3 * std::size_t(f)]);
}

void clodMeshC::readResolutionUpdates(bitReaderC& in, geometryS& mesh) {
    if (!declared_)
        in.fail("resolution updates before the mesh's declaration");
    const auto [start, end] = readResolutionRange(in, mesh.positions.size(), maxPositions_);
    startAdjacency(mesh);
    elementBudgetC budget(in);
    budget.spend(in, end - start, "resolution update");
    reserveGrowing(mesh.positions, end);
    // Closed meshes have about twice as many faces as positions.
    const std::size_t faces = std::min<uint64_t>(maxFaces_, 2 * uint64_t(end));
    reserveGrowing(mesh.positionIndices, 3 * faces);
    adjacency_.reserve(end);
    previousColors_[0] = previousColors_[1] = previousColors_[2] = 0;
    for (uint32_t r = start; r < end; ++r)
        readResolutionUpdate(in, mesh, budget);
}

// One resolution update, in the order of its fields: the split position,
// new colours (and texture coordinates), new faces, stay or move for each
// face at the split position, the attributes of moved and new faces, the
// new position, and the normals around it.
void clodMeshC::readResolutionUpdate(bitReaderC& in, geometryS& mesh, elementBudgetC& budget) {
    const uint32_t resolution = static_cast<uint32_t>(mesh.positions.size());
    uint32_t split = in.readCompressedU32(staticContext(resolution));
    if (resolution > 0) {
        checkedIndex(in, split, resolution, "split position");
        adjacency_.prefetch(split);
        __builtin_prefetch(&mesh.positions[split]);
    }

    const uint16_t newDiffuse = in.readCompressedU16(ctx::kNewDiffuseColorsCount);
    budget.spend(in, newDiffuse, "diffuse colour");
    const uint32_t colorBase = static_cast<uint32_t>(mesh.diffuseColors.size());
    readNewDiffuseColors(in, mesh, resolution > 0 ? split : kNoIndex, newDiffuse);
    const uint16_t newSpecular = in.readCompressedU16(ctx::kNewSpecularColorsCount);
    budget.spend(in, newSpecular, "specular colour");
    for (uint16_t i = 0; i < newSpecular; ++i)
        skipQuantised(in, ctx::kSpecularColorSign, ctx::kVertexColorDiffMagR, 4);
    const uint16_t newTexCoords = in.readCompressedU16(ctx::kNewTexCoordsCount);
    budget.spend(in, newTexCoords, "texture coordinate");
    for (uint16_t i = 0; i < newTexCoords; ++i)
        skipQuantised(in, ctx::kTexCoordSign, ctx::kTexCoordDiffMagU, 4);

    // The faces around the split position and their positions (not needed
    // before, so that the counts above are read while they load).
    splitFaces_.clear();
    localPositions_.clear();
    if (resolution > 0) {
        adjacency_.facesAt(split, splitFaces_);
        for (uint32_t face : splitFaces_)
            __builtin_prefetch(&mesh.positionIndices[3 * std::size_t(face)]);
        for (uint32_t face : splitFaces_)
            for (int k = 0; k < 3; ++k) {
                const uint32_t p = mesh.positionIndices[3 * std::size_t(face) + k];
                if (p != split)
                    insertDescending(localPositions_, p);
            }
    }

    const uint32_t newFaces = in.readCompressedU32(ctx::kNumNewFaces);
    budget.spend(in, newFaces, "new face");
    if (faceCount(mesh) + uint64_t(newFaces) > maxFaces_)
        in.fail("more faces than the declaration's " + std::to_string(maxFaces_));
    readNewFaces(in, mesh, split, newFaces);
    readStayOrMove(in, mesh, split);
    splitColors_.clear();
    if (hasDiffuse_ && resolution > 0)
        diffuseColorsAt(mesh, split, splitColors_);
    readMovedFaceAttributes(in, mesh, split, colorBase);
    readNewFaceAttributes(in, mesh);
    applyUpdate(mesh, split);
    readNewPosition(in, mesh, split);
    if (!excludeNormals_)
        readNormalUpdates(in, mesh, budget);
}

// New colours are predicted as the mean of the colours at the split
// position's corners.
void clodMeshC::readNewDiffuseColors(bitReaderC& in, geometryS& mesh, uint32_t split, uint16_t count) {
    if (count == 0)
        return;
    color4f predicted{0, 0, 0, 0};
    if (split != kNoIndex) {
        diffuseColorsAt(mesh, split, splitColors_);
        color4f sum{0, 0, 0, 0};
        for (uint32_t c : splitColors_) {
            const color4f& color = mesh.diffuseColors[c];
            sum.r += color.r, sum.g += color.g, sum.b += color.b, sum.a += color.a;
        }
        if (!splitColors_.empty()) {
            const float n = static_cast<float>(splitColors_.size());
            predicted = {sum.r / n, sum.g / n, sum.b / n, sum.a / n};
        }
    }
    for (uint16_t i = 0; i < count; ++i) {
        const uint8_t signs = in.readCompressedU8(ctx::kDiffuseColorSign);
        const uint32_t r = in.readCompressedU32(ctx::kVertexColorDiffMagR);
        const uint32_t g = in.readCompressedU32(ctx::kVertexColorDiffMagG);
        const uint32_t b = in.readCompressedU32(ctx::kVertexColorDiffMagB);
        const uint32_t a = in.readCompressedU32(ctx::kVertexColorDiffMagA);
        mesh.diffuseColors.push_back({predicted.r + dequantise(signs, 0, r, inverseQuantDiffuse_),
                                      predicted.g + dequantise(signs, 1, g, inverseQuantDiffuse_),
                                      predicted.b + dequantise(signs, 2, b, inverseQuantDiffuse_),
                                      predicted.a + dequantise(signs, 3, a, inverseQuantDiffuse_)});
    }
}

// Each new face joins the split position, the new one and a third, named
// either among the positions around the split position (which grow by
// each third named globally) or by its index in the whole mesh.
void clodMeshC::readNewFaces(bitReaderC& in, geometryS& mesh, uint32_t split, uint32_t count) {
    const uint32_t resolution = static_cast<uint32_t>(mesh.positions.size());
    newFaces_.clear();
    leftThirds_.clear();
    rightThirds_.clear();
    for (uint32_t j = 0; j < count; ++j) {
        newFaceS face{};
        face.shading = in.readCompressedU32(ctx::kFaceShadingId);
        shadingOf(in, shadings_, face.shading);
        const uint8_t orientation = in.readCompressedU8(ctx::kOrientationType);
        const uint8_t thirdType = in.readCompressedU8(ctx::kThirdIndexType);
        uint32_t third = 0;
        if (thirdType == 1) {
            const uint32_t local = in.readCompressedU32(ctx::kLocalThirdPosition);
            third = localPositions_[checkedIndex(in, local, localPositions_.size(), "local third position")];
        } else {
            third = readIndex(in, resolution, "third position");
            insertDescending(localPositions_, third);
        }
        if (orientation == 1) {
            leftThirds_.push_back(third);
            face.corners[0] = split, face.corners[1] = resolution;
            face.splitCorner = 0, face.newCorner = 1;
        } else if (orientation == 2) {
            rightThirds_.push_back(third);
            face.corners[0] = resolution, face.corners[1] = split;
            face.splitCorner = 1, face.newCorner = 0;
        } else {
            in.fail("face orientation " + std::to_string(orientation));
        }
        face.corners[2] = third;
        newFaces_.push_back(face);
        // The face joins the third's set when the update applies.
        adjacency_.prefetch(third);
    }
}

// Which faces at the split position move to the new one: each read with
// a context chosen by a prediction from the new faces' third positions and
// the faces decided so far.
void clodMeshC::readStayOrMove(bitReaderC& in, geometryS& mesh, uint32_t split) {
    enum : uint32_t { noGuess = 0, move = 1, stay = 2, move2 = 3, stay2 = 4 };
    movedFaces_.clear();
    movePositions_.clear();
    stayPositions_.clear();
    for (uint32_t face : splitFaces_) {
        const uint32_t* c = &mesh.positionIndices[3 * std::size_t(face)];
        // The corners after the split position's, in turn.
        const int at = c[0] == split ? 0 : c[1] == split ? 1 : 2;
        const uint32_t next = c[(at + 1) % 3];
        const uint32_t after = c[(at + 2) % 3];
        uint32_t prediction = noGuess;
        if (contains(rightThirds_, next))
            prediction = move;
        else if (contains(rightThirds_, after) || contains(leftThirds_, next))
            prediction = stay;
        else if (contains(leftThirds_, after))
            prediction = move;
        else if (contains(movePositions_, c[0]) || contains(movePositions_, c[1]) || contains(movePositions_, c[2]))
            prediction = move2;
        else if (contains(stayPositions_, c[0]) || contains(stayPositions_, c[1]) || contains(stayPositions_, c[2]))
            prediction = stay2;
        const bool moves = in.readCompressedU8(ctx::kStayMove + prediction) == 1;
        if (moves) {
            movedFaces_.push_back(face);
            // Its corners' normals follow the new position.
            for (int k = 0; k < 3; ++k)
                adjacency_.prefetch(c[k]);
        }
        std::vector<uint32_t>& positions = moves ? movePositions_ : stayPositions_;
        for (int k = 0; k < 3; ++k)
            if (c[k] != split && !contains(positions, c[k]))
                positions.push_back(c[k]);
    }
}

// A moved face keeps or changes the attributes at its moved corner.
void clodMeshC::readMovedFaceAttributes(bitReaderC& in, geometryS& mesh, uint32_t split, uint32_t colorBase) {
    colorChanges_.clear();
    for (uint32_t face : movedFaces_) {
        const uint32_t* c = &mesh.positionIndices[3 * std::size_t(face)];
        const uint32_t corner = 3 * face + (c[0] == split ? 0 : c[1] == split ? 1 : 2);
        const meshShadingS& shading = shadings_[shadingIdOf(mesh, face)];
        if (shading.diffuseColors && in.readCompressedU8(ctx::kDiffuseKeepChange) == 1) {
            const uint8_t type = in.readCompressedU8(ctx::kDiffuseChangeType);
            uint32_t color = 0;
            if (type == 1) {
                color = colorBase + in.readCompressedU32(ctx::kDiffuseChangeIndexNew);
            } else if (type == 2) {
                const uint32_t local = in.readCompressedU32(ctx::kDiffuseChangeIndexLocal);
                color = splitColors_[checkedIndex(in, local, splitColors_.size(), "local diffuse colour")];
            } else {
                color = in.readCompressedU32(ctx::kDiffuseChangeIndexGlobal);
            }
            colorChanges_.emplace_back(corner, checkedIndex(in, color, mesh.diffuseColors.size(), "diffuse colour"));
        }
        if (shading.specularColors && in.readCompressedU8(ctx::kSpecularKeepChange) == 1) {
            const uint8_t type = in.readCompressedU8(ctx::kSpecularChangeType);
            in.readCompressedU32(type == 1   ? ctx::kSpecularChangeIndexNew
                                 : type == 2 ? ctx::kSpecularChangeIndexLocal
                                             : ctx::kSpecularChangeIndexGlobal);
        }
        for (uint32_t layer = 0; layer < shading.textureLayers; ++layer)
            if (in.readCompressedU8(ctx::kTexCoordKeepChange) == 1) {
                const uint8_t type = in.readCompressedU8(ctx::kTexCoordChangeType);
                in.readCompressedU32(type == 1   ? ctx::kTexCoordChangeIndexNew
                                     : type == 2 ? ctx::kTexCoordChangeIndexLocal
                                                 : ctx::kTexCoordChangeIndexGlobal);
            }
    }
}

// One colour index of a new face's corner: the previous face's (when the
// repeat flag says so), one of the colours around the position, or any.
uint32_t clodMeshC::readFaceColor(bitReaderC& in, const geometryS& mesh, bool repeat, uint32_t previous,
                                  const std::vector<uint32_t>& local) {
    if (repeat)
        return previous;
    uint32_t color = 0;
    if (in.readCompressedU8(ctx::kVertColorSplitType) == 2) {
        const uint32_t index = in.readCompressedU32(ctx::kVertColorSplitIndexLocal);
        color = local[checkedIndex(in, index, local.size(), "local diffuse colour")];
    } else {
        color = in.readCompressedU32(ctx::kVertColorSplitIndexGlobal);
    }
    return checkedIndex(in, color, mesh.diffuseColors.size(), "diffuse colour");
}

// The colours of a new face's split, new and third corners.
void clodMeshC::readNewFaceAttributes(bitReaderC& in, geometryS& mesh) {
    for (newFaceS& face : newFaces_) {
        const meshShadingS& shading = shadings_[face.shading];
        if (shading.diffuseColors) {
            const uint8_t repeats = in.readCompressedU8(ctx::kVertColorDupType);
            face.colors[0] = readFaceColor(in, mesh, repeats & 1, previousColors_[0], splitColors_);
            face.colors[1] = readFaceColor(in, mesh, repeats & 2, previousColors_[1], splitColors_);
            diffuseColorsAt(mesh, face.corners[2], thirdColors_);
            face.colors[2] = readFaceColor(in, mesh, repeats & 4, previousColors_[2], thirdColors_);
            std::copy(face.colors, face.colors + 3, previousColors_);
        }
        if (shading.specularColors) {
            const uint8_t repeats = in.readCompressedU8(ctx::kVertColorDupType);
            for (uint8_t bit : {1, 2, 4})
                if (!(repeats & bit)) {
                    const uint8_t type = in.readCompressedU8(ctx::kVertColorSplitType);
                    in.readCompressedU32(type == 2 ? ctx::kVertColorSplitIndexLocal : ctx::kVertColorSplitIndexGlobal);
                }
        }
        for (uint32_t layer = 0; layer < shading.textureLayers; ++layer) {
            const uint8_t repeats = in.readCompressedU8(ctx::kTexCoordDupType);
            for (uint8_t bit : {1, 2, 4})
                if (!(repeats & bit)) {
                    const uint8_t type = in.readCompressedU8(ctx::kTexCoordSplitType);
                    in.readCompressedU32(type == 2 ? ctx::kTexCoordSplitIndexLocal : ctx::kTexCoordSplitIndexGlobal);
                }
        }
    }
}

// The faces read so far take effect: moved faces leave the split position
// for the new one, new faces join the mesh.
void clodMeshC::applyUpdate(geometryS& mesh, uint32_t split) {
    const uint32_t added = static_cast<uint32_t>(mesh.positions.size());
    adjacency_.addPosition();
    for (uint32_t face : movedFaces_) {
        uint32_t* c = &mesh.positionIndices[3 * std::size_t(face)];
        *(c[0] == split ? c : c[1] == split ? c + 1 : c + 2) = added;
        adjacency_.moveFace(face, split, added);
    }
    for (const auto& [corner, color] : colorChanges_)
        mesh.diffuseIndices[corner] = color;
    for (const newFaceS& face : newFaces_) {
        appendShadingId(mesh, face.shading);
        mesh.positionIndices.insert(mesh.positionIndices.end(), face.corners, face.corners + 3);
        if (hasDiffuse_) {
            const bool colored = shadings_[face.shading].diffuseColors;
            uint32_t byCorner[3];
            byCorner[face.splitCorner] = face.colors[0];
            byCorner[face.newCorner] = face.colors[1];
            byCorner[2] = face.colors[2];
            for (uint32_t color : byCorner)
                mesh.diffuseIndices.push_back(colored ? color : kNoIndex);
        }
        adjacency_.addFace(faceCount(mesh) - 1, face.corners);
    }
}

// The new position: the split position's plus a quantised difference.
void clodMeshC::readNewPosition(bitReaderC& in, geometryS& mesh, uint32_t split) {
    const vec3f predicted = mesh.positions.empty() ? vec3f{0, 0, 0} : mesh.positions[split];
    mesh.positions.push_back(readPositionDifference(in, predicted, inverseQuantPosition_));
}

// For each position of the faces around the new position: its new
// normals, then for each of its faces which of them the corner uses.
void clodMeshC::readNormalUpdates(bitReaderC& in, geometryS& mesh, elementBudgetC& budget) {
    progressiveNormals_ = true;
    const uint32_t added = static_cast<uint32_t>(mesh.positions.size() - 1);
    adjacency_.facesAt(added, scratchFaces_);
    normalPositions_.clear();
    for (uint32_t face : scratchFaces_)
        for (int k = 0; k < 3; ++k)
            normalPositions_.push_back(mesh.positionIndices[3 * std::size_t(face) + k]);
    std::sort(normalPositions_.begin(), normalPositions_.end(), std::greater<>());
    normalPositions_.erase(std::unique(normalPositions_.begin(), normalPositions_.end()), normalPositions_.end());
    for (uint32_t position : normalPositions_) {
        const uint32_t normals = in.readCompressedU32(ctx::kNumLocalNormals);
        budget.spend(in, normals, "normal");
        for (uint32_t i = 0; i < normals; ++i)
            skipQuantised(in, ctx::kNormalDiffSigns, ctx::kNormalDiffMagX, 3);
        in.skipCompressedU32(ctx::kNormalLocalIndex, adjacency_.faceCount(position));
    }
}

void clodMeshC::diffuseColorsAt(const geometryS& mesh, uint32_t position, std::vector<uint32_t>& colors) {
    colors.clear();
    adjacency_.facesAt(position, scratchFaces_);
    for (uint32_t face : scratchFaces_) {
        if (!shadings_[shadingIdOf(mesh, face)].diffuseColors)
            continue;
        const std::size_t base = 3 * std::size_t(face);
        const uint32_t* c = &mesh.positionIndices[base];
        const std::size_t corner = base + (c[0] == position ? 0 : c[1] == position ? 1 : 2);
        colors.push_back(mesh.diffuseIndices[corner]);
    }
    std::sort(colors.begin(), colors.end(), std::greater<>());
    colors.erase(std::unique(colors.begin(), colors.end()), colors.end());
}

void clodMeshC::finish(geometryS& mesh) const {
    if (progressiveNormals_ || mesh.normalIndices.size() != mesh.positionIndices.size()) {
        mesh.normals.clear();
        mesh.normalIndices.clear();
    }
}

}  // namespace u3d
