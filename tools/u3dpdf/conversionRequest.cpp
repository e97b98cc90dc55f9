#include "conversionRequest.h"


#include <memory>

#ifndef U3DPDF_VERSION
#error "U3DPDF_VERSION must give the version of this host"
#endif

namespace {

void addText(metaObjectC& parent, const char* key, const std::string& text) {
    metaObjectC(parent.addChild(key)).setString(text.c_str());
}

// A vector entry: its three numbers are the key's children, in x, y, z order.
void addVector(metaObjectC& parent, const char* key, const double (&xyz)[3]) {
    metaTreeC* entry = parent.addChild(key);
    for (double v : xyz)
        entry->addDouble(v);
}

}  // namespace

metaObjectC buildConversionRequest(const std::string& output, const std::string& model, const modelBoxS& box,
                                   std::span<const customEntryS> entries) {
    // Held here until complete, and handed over in a new handle: copying an
    // owning handle would copy the tree.
    std::unique_ptr<metaTreeC> root(createKeyNode("REQUEST"));
    metaObjectC request(root.get());
    addText(request, "NAME", "u3dpdf");
    addText(request, "VERSION", U3DPDF_VERSION);
    addText(request, "OUTPUTLOCATION", output);
    if (!entries.empty()) {
        metaObjectC list(metaObjectC(request.addChild("CUSTOMDATA")).addChild("ENTRIES"));
        for (const customEntryS& entry : entries) {
            metaObjectC item(list.addChild("ENTRY"));
            addText(item, "KEY", entry.key);
            addText(item, "TEXT", entry.text);
        }
    }
    metaObjectC record(metaObjectC(request.addChild("INPUTDATA")).addChild("MODEL"));
    addText(record, "FILENAME", model);
    addVector(record, "U3DBOXMIN", box.min);
    addVector(record, "U3DBOXMAX", box.max);
    return metaObjectC(root.release(), true);
}
