#include "translator/requestTree.h"

#include <cctype>
#include <memory>

namespace {

bool equalsNoCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        const int ca = std::tolower(static_cast<unsigned char>(*a));
        const int cb = std::tolower(static_cast<unsigned char>(*b));
        if (ca != cb)
            return false;
        if (ca == 0)
            return true;
    }
}

}  // namespace

requestEntryC requestEntriesC::lastEntry(const char* key, bool createKeys) {
    // From the last item down: when two entries carry the key, the later one
    // in the request is the one that counts.
    for (int32_t i = itemCount("ENTRY") - 1; i >= 0; --i) {
        requestEntryC entry(itemAt(i, "ENTRY"));
        const str& entryKey = createKeys ? entry.KEY() : entry.findKEY();
        if (equalsNoCase(entryKey.text(), key))
            return entry;
    }
    return requestEntryC(nullptr);
}

void requestEntriesC::addENTRY(const char* key, const char* text) {
    std::unique_ptr<metaTreeC> node(createKeyNode("ENTRY"));
    requestEntryC entry(node.get());
    entry.KEY(key);
    entry.TEXT(text);
    if (keyAppend(node.get()))
        node.release();
}

requestEntriesC requestRootC::findENTRIES() const {
    metaTreeC* customData = keyFind("CUSTOMDATA");
    return requestEntriesC(customData ? metaObjectC(customData).findChild("ENTRIES") : nullptr);
}

requestInputC requestRootC::INPUTDATA() const {
    const metaTreeC* inputData = keyFind("INPUTDATA");
    return requestInputC(inputData ? inputData->firstChild : nullptr);
}

requestInputC requestRootC::addINPUT(const char* recordKey) {
    metaTreeC* inputData = keyFindOrCreate("INPUTDATA");
    return requestInputC(inputData ? metaObjectC(inputData).addChild(recordKey) : nullptr);
}
