// Whatever scene the U3D reader makes of arbitrary bytes, the writer writes
// it or refuses it with a sceneError, and what it writes reads back, strictly,
// to as many nodes and geometries.
#include "u3d/reader.h"
#include "u3d/sceneInstances.h"
#include "u3d/writer.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    u3d::u3dFileS file;
    try {
        file = u3d::readU3dMemory(std::span(data, size), {false});
    } catch (const u3d::formatError&) {
        return 0;
    }
    std::vector<uint8_t> written;
    try {
        written = u3d::writeU3dMemory(file.scene);
    } catch (const u3d::sceneError&) {
        return 0;
    }
    const u3d::u3dFileS back = u3d::readU3dMemory(written);
    if (back.scene.nodes.size() != file.scene.nodes.size() ||
        back.scene.geometries.size() != file.scene.geometries.size())
        std::abort();
    return 0;
}
