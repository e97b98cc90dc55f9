#include "meshFormats.h"

#include "import/importFormats.h"

std::vector<meshFormatS> meshFormats() {
    std::vector<meshFormatS> out;
    for (const meshimport::formatS& format : meshimport::readableFormats())
        out.push_back({format.extension, format.name});
    return out;
}
