#include "moduleHost.h"

#include "metatree/metaTree.h"
#include "support/trees/treeText.h"

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
