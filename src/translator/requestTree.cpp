#include "translator/requestTree.h"

#include <cctype>

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

requestEntryC requestEntriesC::ENTRY(const char* key) {
    // From the last item down: when two entries carry the key, the later one
    // in the request is the one that counts.
    for (int32_t i = itemCount("ENTRY") - 1; i >= 0; --i) {
        requestEntryC entry(itemAt(i, "ENTRY"));
        if (equalsNoCase(entry.KEY().text(), key))
            return entry;
    }
    return requestEntryC(nullptr);
}

requestInputC requestRootC::INPUTDATA() const {
    const metaTreeC* inputData = keyFind("INPUTDATA");
    return requestInputC(inputData ? inputData->firstChild : nullptr);
}
