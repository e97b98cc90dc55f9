// Typed reads and writes of an entry's value and of the node's own value.
#include "metatree/metaObject.h"

#include "metatree/treeStamp.h"

#include <cmath>

namespace {

int32_t truncateToInt32(double x) {
    // Toward zero, as a cast would; values beyond the 32-bit range saturate
    // and NaN reads as 0 instead of producing an undefined conversion.
    if (std::isnan(x))
        return 0;
    if (x >= 2147483647.0)
        return INT32_MAX;
    if (x <= -2147483648.0)
        return INT32_MIN;
    return static_cast<int32_t>(x);
}

// The node when it has the kind, else null; sets the found flag either way.
const metaTreeC* ofKind(const metaTreeC* n, int32_t kind, int* found) {
    const bool ok = n && n->value.kind() == kind;
    if (found)
        *found = ok ? 1 : 0;
    return ok ? n : nullptr;
}

}  // namespace

const str& metaObjectC::getString(int* found) const {
    const metaTreeC* v = ofKind(firstValue(), MV_STRING, found);
    return v ? v->value.text() : metaEmptyText();
}

const str& metaObjectC::getKeyValue(int* found) const {
    const metaTreeC* v = ofKind(firstValue(), MV_KEY, found);
    return v ? v->value.text() : metaEmptyText();
}

double metaObjectC::getDouble(int* found) const {
    const metaTreeC* v = ofKind(firstValue(), MV_DOUBLE, found);
    return v ? v->value.number() : 0.0;
}

int32_t metaObjectC::getInteger(int* found) const { return truncateToInt32(getDouble(found)); }

void metaObjectC::setString(const char* text) {
    if (!node())
        return;
    if (metaTreeC* v = firstValue()) {
        if (v->value.kind() == MV_STRING)
            v->value.setText(MV_STRING, text);
        return;
    }
    node()->addString(text);
}

void metaObjectC::setDouble(double x) {
    if (!node())
        return;
    if (metaTreeC* v = firstValue()) {
        if (v->value.kind() == MV_DOUBLE)
            v->value.setNumber(x);
        return;
    }
    node()->addDouble(x);
}

void metaObjectC::setInteger(int32_t n) { setDouble(static_cast<double>(n)); }

void metaObjectC::setKeyValue(const char* text) {
    if (!node())
        return;
    if (metaTreeC* v = firstValue()) {
        if (v->value.kind() != MV_NONE) {
            v->value.setText(MV_KEY, text);
            // Key lookups and the caches over them see a different tree now.
            bumpTreeStamp();
        }
        return;
    }
    node()->addKey(text, 0);
}

double metaObjectC::getOwnDouble(int* found) const {
    const metaTreeC* v = ofKind(node(), MV_DOUBLE, found);
    return v ? v->value.number() : 0.0;
}

int32_t metaObjectC::getOwnInteger(int* found) const { return truncateToInt32(getOwnDouble(found)); }

void metaObjectC::setOwnDouble(double x) {
    if (node() && node()->value.kind() == MV_DOUBLE)
        node()->value.setNumber(x);
}

void metaObjectC::setOwnInteger(int32_t n) { setOwnDouble(static_cast<double>(n)); }

void metaObjectC::setOwnKey(const char* text) {
    if (!node())
        return;
    node()->value.setText(MV_KEY, text);
    node()->value.setSrcPos(metaSrcPosS::none());
    bumpTreeStamp();
}
