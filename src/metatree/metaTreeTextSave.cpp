#include "metatree/metaTreeTextSave.h"

#include "metatree/metaHooks.h"
#include "metatree/metaTreeTextBuffer.h"
#include "runtime/str/cLocaleGuardC.h"

#include <cstdio>
#include <cstring>

namespace {

// Fills the buffer with the tree's text; false for an empty handle or a
// text that did not fit.
bool writeText(const metaObjectVirtualDataBaseC& tree, bool firstOnly, metaTreeTextBufferC& buffer) {
    if (!tree.valid())
        return false;
    cLocaleGuardC cLocale;
    if (metaTreeC* exported = runSaveHooks(tree.node(), firstOnly)) {
        // The export copy already holds only what firstOnly selects.
        buffer.writeChain(exported, false);
        delete exported;
    } else {
        buffer.writeChain(tree.node(), firstOnly);
    }
    return buffer.complete();
}

}  // namespace

int saveTreeToFile(const metaObjectVirtualDataBaseC& tree, const char* path, bool firstOnly, bool pretty) {
    metaTreeTextBufferC buffer(pretty);
    if (!path || !writeText(tree, firstOnly, buffer))
        return 0;
    std::FILE* file = std::fopen(path, "w");
    if (!file)
        return 0;
    const size_t written = std::fwrite(buffer.data(), 1, buffer.length(), file);
    const bool closed = std::fclose(file) == 0;
    return written == buffer.length() && closed ? 1 : 0;
}

int saveTreeToString(const metaObjectVirtualDataBaseC& tree, str& out, bool firstOnly, bool pretty) {
    out = str();
    metaTreeTextBufferC buffer(pretty);
    if (!writeText(tree, firstOnly, buffer))
        return 0;
    char* text = out.setRaw(static_cast<int>(buffer.length() + 1));
    std::memcpy(text, buffer.data(), buffer.length());
    text[buffer.length()] = '\0';
    return 1;
}

str saveTreeAsString(const metaObjectVirtualDataBaseC& tree, bool firstOnly, bool pretty) {
    str text;
    saveTreeToString(tree, text, firstOnly, pretty);
    return text;
}
