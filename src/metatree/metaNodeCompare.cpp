#include "metatree/metaNodeCompare.h"

#include "metatree/metaTree.h"

int metaNodeCompareKeyC::accept(const metaTreeC* node) {
    return node->value.kind() == MV_KEY && node->value.text().equals(key().text());
}

int metaNodeCompareKeyNrC::accept(const metaTreeC* node) {
    // A negative number selects nothing rather than counting down forever.
    if (number_ < 0 || !metaNodeCompareKeyC::accept(node))
        return 0;
    if (number_ == 0)
        return 1;
    --number_;
    return 0;
}
