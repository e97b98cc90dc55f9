// The U3D reader on arbitrary bytes, strictly and leniently: every input
// either reads or fails with a formatError. Anything else (another
// exception, a crash, a sanitizer report, a leak, a hang, a huge
// allocation) is a finding. A read that succeeds also places the scene's
// model nodes in the world and measures their box, as the commands do.
//
// Each input is read a second time with the smallest block window, as
// blocks of a large mesh are read: the outcome must be the same, value for
// value or fault for fault.
#include "u3d/bitReader.h"
#include "u3d/reader.h"
#include "u3d/sceneInstances.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>

namespace {

struct outcomeS {
    std::optional<u3d::u3dFileS> file;
    std::string fault;
};

outcomeS readBytes(std::span<const uint8_t> bytes, bool strict, std::size_t window) {
    u3d::readOptionsS options;
    options.strict = strict;
    options.blockWindow = window;
    try {
        return {u3d::readU3dMemory(bytes, options), {}};
    } catch (const u3d::formatError& e) {
        return {std::nullopt, e.what()};
    }
}

bool sameGeometry(const u3d::geometryS& a, const u3d::geometryS& b) {
    return a.positions.size() == b.positions.size() &&
           (a.positions.empty() ||
            std::memcmp(a.positions.data(), b.positions.data(), a.positions.size() * sizeof a.positions[0]) == 0) &&
           a.positionIndices == b.positionIndices &&
           a.normalIndices == b.normalIndices && a.diffuseIndices == b.diffuseIndices &&
           a.shadingIds == b.shadingIds;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    for (const bool strict : {true, false}) {
        const outcomeS whole = readBytes(bytes, strict, u3d::readOptionsS{}.blockWindow);
        if (whole.file)
            for (const u3d::geometryS& geometry : whole.file->scene.geometries)
                for (uint32_t index : geometry.positionIndices)
                    if (index >= geometry.positions.size())
                        __builtin_trap();  // the reader checks every index it keeps
        const outcomeS windowed = readBytes(bytes, strict, u3d::bitReaderC::kMinWindow);
        if (whole.fault != windowed.fault || whole.file.has_value() != windowed.file.has_value())
            __builtin_trap();
        if (whole.file) {
            const auto& a = whole.file->scene.geometries;
            const auto& b = windowed.file->scene.geometries;
            if (a.size() != b.size())
                __builtin_trap();
            for (std::size_t i = 0; i < a.size(); ++i)
                if (!sameGeometry(a[i], b[i]))
                    __builtin_trap();
        }
    }
    return 0;
}
