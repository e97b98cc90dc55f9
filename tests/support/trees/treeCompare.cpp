#include "treeCompare.h"

#include <cstdio>
#include <cstring>

namespace {

std::string asWritten(double x) {
    char text[40];
    std::snprintf(text, sizeof text, "%.14g", x);
    return text;
}

bool sameValue(const metaValueC& a, const metaValueC& b, numberMatchE numbers) {
    if (a.kind() != b.kind())
        return false;
    if (a.kind() == MV_DOUBLE)
        return numbers == numberMatchE::exact ? a.number() == b.number() : asWritten(a.number()) == asWritten(b.number());
    if (a.isText())
        return std::strcmp(a.text().text(), b.text().text()) == 0;
    return a.kind() == MV_NONE || a.pointer() == b.pointer();
}

std::string describe(const metaTreeC* n) {
    if (!n)
        return "(none)";
    if (n->value.isText())
        return std::string(n->value.text().text()).substr(0, 40);
    if (n->value.kind() == MV_DOUBLE)
        return asWritten(n->value.number());
    return "kind " + std::to_string(n->value.kind());
}

// Pre-order successor within the chain that starts at level 0; descends
// only when told to.
const metaTreeC* following(const metaTreeC* n, long& level, bool descend) {
    if (descend && n->firstChild) {
        ++level;
        return n->firstChild;
    }
    for (; !n->next; --level) {
        if (level == 0)
            return nullptr;
        n = n->parent;
    }
    return n->next;
}

}  // namespace

std::string treeDifference(const metaTreeC* a, const metaTreeC* b, numberMatchE numbers, const char* opaqueKey) {
    long levelA = 0;
    long levelB = 0;
    for (long index = 0;; ++index) {
        if (!a && !b)
            return {};
        if (!a || !b || levelA != levelB || !sameValue(a->value, b->value, numbers))
            return "node " + std::to_string(index) + ": " + describe(a) + " vs " + describe(b);
        const bool descend = !(opaqueKey && a->isKey(opaqueKey));
        a = following(a, levelA, descend);
        b = following(b, levelB, descend);
    }
}
