// The U3D reader on arbitrary bytes, strictly and leniently: every input
// either reads or fails with a formatError. Anything else (another
// exception, a crash, a sanitizer report, a leak, a hang, a huge
// allocation) is a finding. A read that succeeds also places the scene's
// model nodes in the world and measures their box, as the commands do.
#include "u3d/reader.h"
#include "u3d/sceneInstances.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    for (const bool strict : {true, false}) {
        try {
            const u3d::u3dFileS file = u3d::readU3dMemory(bytes, {strict});
            for (const u3d::geometryS& geometry : file.scene.geometries)
                for (uint32_t index : geometry.positionIndices)
                    if (index >= geometry.positions.size())
                        __builtin_trap();  // the reader checks every index it keeps
        } catch (const u3d::formatError&) {
        }
    }
    return 0;
}
