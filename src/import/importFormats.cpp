#include "import/importFormats.h"

#include <assimp/Importer.hpp>
#include <assimp/importerdesc.h>

#include <map>
#include <sstream>

namespace meshimport {

namespace {

// "Stereolithography (STL) Importer" says "Stereolithography (STL)" in a
// list of formats.
std::string formatName(const aiImporterDesc& desc) {
    std::string name = desc.mName;
    for (const char* word : {" Importer", " Reader"})
        for (std::size_t at; (at = name.find(word)) != std::string::npos;)
            name.erase(at, std::string(word).size());
    if (desc.mFlags & aiImporterFlags_Experimental)
        name += " (experimental)";
    return name;
}

}  // namespace

std::vector<formatS> readableFormats() {
    const Assimp::Importer importer;
    std::map<std::string, std::string> byExtension;
    for (std::size_t i = 0; i < importer.GetImporterCount(); ++i) {
        const aiImporterDesc* desc = importer.GetImporterInfo(i);
        if (!desc || !desc->mFileExtensions)
            continue;
        std::istringstream extensions(desc->mFileExtensions);
        for (std::string extension; extensions >> extension;) {
            std::string& names = byExtension[extension];
            names += (names.empty() ? "" : " / ") + formatName(*desc);
        }
    }
    std::vector<formatS> formats;
    for (auto& [extension, name] : byExtension)
        formats.push_back({extension, name});
    return formats;
}

}  // namespace meshimport
