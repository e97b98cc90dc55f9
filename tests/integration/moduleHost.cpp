#include "moduleHost.h"

#include "../translator/treeText.h"
#include "metatree/metaTree.h"
#include "runtime/platform/platform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

loadedModuleS::loadedModuleS() {
    std::string error;
    handle = openModule(U3DPDF_MODULE_PATH, error);
    if (!handle)
        throw std::runtime_error(error);
    getCaps = reinterpret_cast<getCapsF>(moduleSymbol(handle, "getCaps"));
    convertMetaTree = reinterpret_cast<convertMetaTreeF>(moduleSymbol(handle, "convertMetaTree"));
}

loadedModuleS::~loadedModuleS() {
    if (handle)
        closeModule(handle);
}

scratchDirS::scratchDirS(const char* tag)
    : path(fs::temp_directory_path() / ("u3dpdf_it_" + std::string(tag) + "_" + std::to_string(platform::processId()))) {
    fs::remove_all(path);
    fs::create_directories(path);
}

// A directory left behind fails the test instead of ending the program.
scratchDirS::~scratchDirS() {
    std::error_code error;
    fs::remove_all(path, error);
    if (error)
        ADD_FAILURE() << "cannot remove " << path << ": " << error.message();
}

std::unique_ptr<metaTreeC> conversionRequest(const fs::path& output, const fs::path& u3d, const boxS& box) {
    std::unique_ptr<metaTreeC> root(createKeyNode("REQUEST"));
    addText(root.get(), "OUTPUTLOCATION", output.string().c_str());
    metaTreeC* record = addKey(addKey(root.get(), "INPUTDATA"), "MODEL");
    addText(record, "FILENAME", u3d.string().c_str());
    addNumbers(record, "U3DBOXMIN", {box.min[0], box.min[1], box.min[2]});
    addNumbers(record, "U3DBOXMAX", {box.max[0], box.max[1], box.max[2]});
    return root;
}

namespace {

metaTreeC* childKey(metaTreeC* parent, const char* key) {
    for (metaTreeC* child = parent->firstChild; child; child = child->next)
        if (child->isKey(key))
            return child;
    return addKey(parent, key);
}

}  // namespace

void addCustomEntry(metaTreeC* request, const char* key, const char* text) {
    metaTreeC* entry = addKey(childKey(childKey(request, "CUSTOMDATA"), "ENTRIES"), "ENTRY");
    addText(entry, "KEY", key);
    addText(entry, "TEXT", text);
}

std::string customData(const metaTreeC* request) {
    for (const metaTreeC* child = request->firstChild; child; child = child->next)
        if (child->isKey("CUSTOMDATA"))
            return treeText(child);
    return "<none>";
}

fs::path testData(const char* name) { return fs::path(U3DPDF_TEST_DATA_DIR) / name; }

// In one piece: byte by byte, a model of some megabytes takes seconds
// under the sanitizers.
std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> textLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string directoryListing(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    std::string listing;
    for (const std::string& name : names)
        listing += (listing.empty() ? "" : " ") + name;
    return listing;
}
