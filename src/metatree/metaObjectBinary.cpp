#include "metatree/metaObjectBinary.h"

#include "metatree/sixBitCodec.h"
#include "metatree/treeStamp.h"

namespace {

// The entry's value node becomes the number or text, whatever it was.
void overwriteValue(metaTreeC* entry, double number) {
    if (metaTreeC* v = entry->firstChild)
        v->value.setNumber(number);
    else
        entry->addDouble(number);
}

void overwriteValue(metaTreeC* entry, const char* text) {
    if (metaTreeC* v = entry->firstChild)
        v->value.setText(MV_STRING, text);
    else
        entry->addString(text);
}

}  // namespace

bool metaObjectBinaryC::acceptable(const void* bytes, int32_t length) {
    if (length < 0 || (length > 0 && !bytes))
        return false;
    return sixBitLength(static_cast<uint64_t>(length)) < static_cast<uint64_t>(INT32_MAX);
}

bool metaObjectBinaryC::storeBytes(const void* bytes, int32_t length, int32_t code) {
    if (!node() || !acceptable(bytes, length))
        return false;
    clearChildren();
    metaObjectC(findOrCreateChild("CODE")).setInteger(code);
    metaObjectC(findOrCreateChild("SIZE")).setInteger(length);
    if (length == 0)
        return true;
    const str encoded = sixBitEncode(static_cast<const uint8_t*>(bytes), static_cast<size_t>(length));
    metaObjectC(findOrCreateChild("DATA")).setString(encoded.text());
    return true;
}

bool metaObjectBinaryC::rewriteBytes(const void* bytes, int32_t length, int32_t code) {
    if (!node() || !acceptable(bytes, length))
        return false;
    overwriteValue(findOrCreateChild("CODE"), static_cast<double>(code));
    overwriteValue(findOrCreateChild("SIZE"), static_cast<double>(length));
    if (length > 0 || findChild("DATA")) {
        const str encoded = sixBitEncode(static_cast<const uint8_t*>(bytes), static_cast<size_t>(length));
        overwriteValue(findOrCreateChild("DATA"), encoded.text());
    }
    // Values changed in place: caches over the tree must not trust it.
    bumpTreeStamp();
    return true;
}

int32_t metaObjectBinaryC::entryInteger(const char* key) const {
    return metaObjectC(findChild(key)).getInteger();
}

int32_t metaObjectBinaryC::storedSize() const { return entryInteger("SIZE"); }

int32_t metaObjectBinaryC::loadBytes(void* buffer, int32_t capacity) const {
    const int32_t size = storedSize();
    if (size <= 0 || size > capacity || !buffer)
        return -1;
    const str& data = metaObjectC(findChild("DATA")).getString();
    const int64_t produced = sixBitDecode(data.text(), static_cast<size_t>(data.length()),
                                          static_cast<uint8_t*>(buffer), static_cast<size_t>(size));
    return static_cast<int32_t>(produced);
}
