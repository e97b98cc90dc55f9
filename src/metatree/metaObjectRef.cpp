#include "metatree/metaObjectRef.h"

#include "metatree/metaHooks.h"
#include "metatree/treeWalk.h"

namespace {

// Both constant-initialised; the numbering is created on first use, so no
// static constructor has to have run.
metaTreeNumberingC* numbering = nullptr;
metaTreeC* numberedRoot = nullptr;

uintptr_t addressOf(const metaTreeC* node) { return reinterpret_cast<uintptr_t>(node); }

const metaTreeC* topmost(const metaTreeC* node) {
    while (node->parent)
        node = node->parent;
    return node;
}

// Whether target is one of the nodes of top's tree, found by comparing
// addresses only: target may be a stale address.
bool holdsNode(const metaTreeC* top, uintptr_t target) {
    preOrderWalkT<const metaTreeC> walk(top, -1, true);
    for (; const metaTreeC* n = walk.node(); walk.advance())
        if (addressOf(n) == target)
            return true;
    return false;
}

}  // namespace

metaTreeNumberingC& referenceNumbering() {
    if (!numbering)
        numbering = new metaTreeNumberingC;
    return *numbering;
}

void releaseReferenceNumbering() {
    delete numbering;
    numbering = nullptr;
    numberedRoot = nullptr;
}

metaTreeNumberingC& metaObjectRefC::numberingOf(metaTreeC* root) {
    metaTreeNumberingC& n = referenceNumbering();
    if (root != numberedRoot) {
        n.reset(root);
        numberedRoot = root;
    }
    return n;
}

metaObjectBinaryC metaObjectRefC::refEntry() { return metaObjectBinaryC(findOrCreateChild("REFTRGPTR")); }

const metaTreeC* metaObjectRefC::storedEntry() const { return findChild("REFTRGPTR"); }

bool metaObjectRefC::setTarget(const metaTreeC* node) {
    const uintptr_t address = addressOf(node);
    return refEntry().rewriteBytes(&address, kAddressSize, 0);
}

metaTreeC* metaObjectRefC::target(bool checked) const {
    uintptr_t address = 0;
    const metaObjectBinaryC value(const_cast<metaTreeC*>(storedEntry()));
    if (value.loadBytes(&address, kAddressSize) != kAddressSize || !address)
        return nullptr;
    if (checked && !holdsNode(topmost(node()), address))
        return nullptr;
    return reinterpret_cast<metaTreeC*>(address);
}

bool metaObjectRefC::setNumber(int32_t n) {
    // Little-endian whatever the machine, as the text form is.
    const uint32_t u = static_cast<uint32_t>(n);
    const uint8_t bytes[kNumberSize] = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8),
                                        static_cast<uint8_t>(u >> 16), static_cast<uint8_t>(u >> 24)};
    return refEntry().rewriteBytes(bytes, kNumberSize, 0);
}

int32_t metaObjectRefC::getNumber(int* found) const {
    uint8_t bytes[kNumberSize] = {};
    const metaObjectBinaryC value(const_cast<metaTreeC*>(storedEntry()));
    const bool ok = value.loadBytes(bytes, kNumberSize) == kNumberSize;
    if (found)
        *found = ok ? 1 : 0;
    if (!ok)
        return 0;
    const uint32_t u = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                       static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    return static_cast<int32_t>(u);
}

metaTreeC* metaObjectRefC::restoreAfterLoad(metaTreeC* root) {
    metaTreeNumberingC& numbers = numberingOf(root);
    int found = 0;
    const int32_t number = getNumber(&found);
    metaTreeC* t = found ? numbers.nodeAt(number) : nullptr;
    setTarget(t);
    return t;
}

metaTreeC* metaObjectRefC::exportNode(metaTreeC* root) {
    metaTreeNumberingC& numbers = numberingOf(root);
    const metaTreeC* t = target(false);
    const int32_t number = t ? numbers.numberOf(t) : -1;
    // The record is copied through the export copy rather than copyTree: a
    // reference nested in it must be written as a number too, not as the
    // address it holds in memory. This handler is lent to such a nested
    // reference meanwhile, so node() is read before.
    metaTreeC* copy = new metaTreeC(*node());
    if (metaTreeC* record = exportCopy(node()->firstChild, false, root))
        record->prependTo(copy);
    metaObjectRefC(copy).setNumber(number);
    return copy;
}

int32_t metaObjectRefC::prepareSave(metaTreeC*) {
    numberedRoot = nullptr;
    setTarget(target(false));
    return 1;
}

int32_t metaObjectRefC::prepareLoad(metaTreeC*) {
    numberedRoot = nullptr;
    return 1;
}

metaTreeC* metaObjectRefC::copyNode(metaTreeC*) { return nullptr; }

int32_t metaObjectRefC::beforeCopy(metaTreeC*) {
    numberedRoot = nullptr;
    metaTreeC* t = target(false);
    if (!t)
        return 1;
    // "Same tree" is decided with a numbering of the entry's tree rather
    // than a walk per reference. It is reused for the next reference as long
    // as no tree has changed since it was built (setting copy tags is no
    // structural change).
    metaTreeC* top = const_cast<metaTreeC*>(topmost(node()));
    metaTreeNumberingC& numbers = referenceNumbering();
    if (numbers.root() != top || !numbers.current())
        numbers.reset(top);
    if (numbers.inRootTree(t))
        t->copyTag = addressOf(t);
    return 1;
}

int32_t metaObjectRefC::afterCopy(metaTreeC* copyRoot) {
    metaTreeNumberingC& numbers = numberingOf(copyRoot);
    const metaTreeC* old = target(false);
    setTarget(old ? numbers.nodeWithCopyTag(addressOf(old)) : nullptr);
    return 1;
}
