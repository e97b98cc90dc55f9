#include "metatree/metaValue.h"

const str& metaEmptyText() {
    static const str empty;
    return empty;
}

metaValueC::metaValueC(int32_t kind, metaSrcPosS pos, const str& text)
    : metaValueC(kind, pos, text.text()) {}

metaValueC::metaValueC(int32_t kind, metaSrcPosS pos, const char* text) {
    if (kind != MV_KEY && kind != MV_STRING)
        return;
    payload_.text = new str(text);
    kind_ = kind;
    setSrcPos(pos);
}

metaValueC::metaValueC(int32_t kind, metaSrcPosS pos, double x) {
    if (kind != MV_DOUBLE)
        return;
    payload_.number = x;
    kind_ = kind;
    setSrcPos(pos);
}

metaValueC::metaValueC(int32_t kind, metaSrcPosS pos, int32_t n)
    : metaValueC(kind, pos, static_cast<double>(n)) {}

metaValueC::metaValueC(int32_t kind, metaSrcPosS pos, void* p) {
    if (kind != MV_PTR && kind != MV_PTR2)
        return;
    payload_.pointer = p;
    kind_ = kind;
    setSrcPos(pos);
}

void metaValueC::assign(const metaValueC& other) {
    if (&other == this)
        return;
    switch (other.kind_) {
    case MV_KEY:
    case MV_STRING:
        setText(other.kind_, other.text().text());
        break;
    case MV_DOUBLE:
        setNumber(other.payload_.number);
        break;
    case MV_PTR:
    case MV_PTR2:
        clear();
        payload_.pointer = other.payload_.pointer;
        kind_ = other.kind_;
        break;
    default:
        clear();
        break;
    }
    setSrcPos(other.srcPos());
}

void metaValueC::clear() {
    if (isText())
        delete payload_.text;
    payload_.number = 0.0;
    kind_ = MV_NONE;
}

bool metaValueC::equals(const metaValueC& other) const {
    if (kind_ != other.kind_)
        return false;
    switch (kind_) {
    case MV_KEY:
    case MV_STRING:
        return text().equals(other.text().text());
    case MV_DOUBLE:
        return payload_.number == other.payload_.number;
    case MV_PTR:
    case MV_PTR2:
        return payload_.pointer == other.payload_.pointer;
    default:
        return false;
    }
}

const str& metaValueC::text() const {
    if (isText() && payload_.text)
        return *payload_.text;
    return metaEmptyText();
}

void metaValueC::setText(int32_t kind, const char* text) {
    if (kind != MV_KEY && kind != MV_STRING)
        return;
    if (isText() && payload_.text) {
        // Copy through a temporary: text may point into the str being
        // overwritten.
        str copy(text);
        *payload_.text = copy;
    } else {
        clear();
        payload_.text = new str(text);
    }
    kind_ = kind;
}

void metaValueC::setNumber(double x) {
    clear();
    payload_.number = x;
    kind_ = MV_DOUBLE;
}
