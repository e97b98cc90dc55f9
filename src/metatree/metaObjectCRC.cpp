#include "metatree/metaObjectCRC.h"

#include "metatree/crc32.h"
#include "metatree/metaHookPasses.h"
#include "metatree/metaHookRegistries.h"
#include "metatree/metaObjectRef.h"
#include "runtime/str/strEscape.h"

#include <cstring>

namespace {

void feedText(crc32C& crc, const char* text) { crc.update(text, std::strlen(text)); }

bool isHooked(const metaTreeC* n, const metaHandlerRegistryT<metaObjectCustomStorageC>& handlers) {
    return n->isKey() && lookupHandler(handlers, n->value.text().text());
}

// Feeds the chain in pre-order as the checksum's text. What lies below an
// entry with a storage handler belongs to that handler and changes under
// it: a reference's bytes are an address that differs from one load to the
// next, a checksum entry gets its CRCTYPE and CRCVALUE only when its own
// turn in the save comes. So none of it counts, also when the chain itself
// starts inside such an entry (a checksum placed in another hooked entry's
// record): the text is then empty.
uint32_t checksumOf(const metaTreeC* chain) {
    const metaHandlerRegistryT<metaObjectCustomStorageC>& handlers = storageHandlers();
    crc32C crc;
    for (const metaTreeC* a = chain->parent; a; a = a->parent)
        if (isHooked(a, handlers))
            return crc.value();
    preOrderVisit(chain, false, [&](const metaTreeC* n) {
        switch (n->value.kind()) {
        case MV_KEY:
            if (isHooked(n, handlers))
                return walkStepE::over;
            feedText(crc, n->value.text().text());
            break;
        case MV_STRING:
            feedText(crc, "\"");
            feedText(crc, escape(n->value.text().text()).text());
            feedText(crc, "\"");
            break;
        case MV_DOUBLE:
            feedText(crc, "VAL");
            break;
        default:
            break;
        }
        return walkStepE::into;
    });
    return crc.value();
}

}  // namespace

const metaTreeC* metaObjectCRCC::covered() const {
    if (!node())
        return nullptr;
    if (metaTreeC* reference = findChild("MOREF"))
        if (const metaTreeC* t = metaObjectRefC(reference).target(true))
            return t;
    return parentNode();
}

bool metaObjectCRCC::compute(uint32_t& crc) const {
    const metaTreeC* c = covered();
    if (!c)
        return false;
    crc = checksumOf(c);
    return true;
}

int32_t metaObjectCRCC::computeAndStore() {
    uint32_t crc = 0;
    if (!compute(crc))
        return 0;
    const int32_t value = static_cast<int32_t>(crc);
    metaObjectC(findOrCreateChild("CRCTYPE")).setInteger(0);
    metaObjectC stored(findOrCreateChild("CRCVALUE"));
    stored.setInteger(value);
    int found = 0;
    return stored.getInteger(&found) == value && found ? 1 : 0;
}

int32_t metaObjectCRCC::verify() const {
    uint32_t crc = 0;
    if (!compute(crc))
        return 0;
    int found = 0;
    const int32_t stored = metaObjectC(findChild("CRCVALUE")).getInteger(&found);
    return found && stored == static_cast<int32_t>(crc) ? 1 : 0;
}

int32_t metaObjectCRCC::prepareSave(metaTreeC*) { return computeAndStore(); }
