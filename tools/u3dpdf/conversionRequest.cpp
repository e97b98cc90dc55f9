#include "conversionRequest.h"

#include "translator/requestTree.h"

#include <memory>

#ifndef U3DPDF_VERSION
#error "U3DPDF_VERSION must give the version of this host"
#endif

// Written through the request wrappers that hosts get with the SDK
// (u3dpdf/trees.h), so that this host fills the request as any other does.
metaObjectC buildConversionRequest(const std::string& output, const std::string& model, const modelBoxS& box,
                                   std::span<const customEntryS> entries) {
    // Held here until complete, and handed over in a new handle: copying an
    // owning handle would copy the tree.
    std::unique_ptr<metaTreeC> root(createKeyNode("REQUEST"));
    requestRootC request(root.get());
    request.NAME("u3dpdf");
    request.VERSION(U3DPDF_VERSION);
    request.OUTPUTLOCATION(output.c_str());
    if (!entries.empty()) {
        requestEntriesC list = request.CUSTOMDATA().ENTRIES();
        for (const customEntryS& entry : entries)
            list.addENTRY(entry.key, entry.text);
    }
    requestInputC record = request.addINPUT("MODEL");
    record.FILENAME(model.c_str());
    record.U3DBOXMIN(vectorC3d{box.min[0], box.min[1], box.min[2]});
    record.U3DBOXMAX(vectorC3d{box.max[0], box.max[1], box.max[2]});
    return metaObjectC(root.release(), true);
}
