// A reference: an entry that points at another node of the same tree.
//
// The entry viewed ("MOREF" by convention) holds a "REFTRGPTR" child, a
// binary value with CODE 0. While the tree is in memory its bytes are the
// target's address (sizeof(void*) bytes); in the text form they are the
// target's node number (4 bytes, little-endian), and a copy of the tree has
// its references pointing at the copied targets. The hook slots below do
// those conversions when the passes of metaHooks.h and copyWithHooks.h meet a
// reference.
//
// An address that does not decode (missing or malformed "REFTRGPTR", a SIZE
// other than the expected one, a short "DATA" or one with characters outside
// the encoding's alphabet) reads as no target, and the passes store it back
// as the null target. A number that names no node (0, negative, beyond the
// count) loads as the null target.
#pragma once

#include "metatree/metaObjectBinary.h"
#include "metatree/metaObjectCustomCopy.h"
#include "metatree/metaObjectCustomStorage.h"
#include "metatree/metaTreeNumbering.h"

#include <cstdint>

class metaObjectRefC : public metaObjectCustomStorageC, public metaObjectCustomCopyC {
public:
    static constexpr int32_t kAddressSize = static_cast<int32_t>(sizeof(void*));
    static constexpr int32_t kNumberSize = 4;

    metaObjectRefC() = default;
    explicit metaObjectRefC(metaTreeC* node, bool own = false) : metaObjectC(node, own) {}

    // The "REFTRGPTR" child, created if missing.
    metaObjectBinaryC refEntry();

    // Stores the node's address (null: no target). The stored bytes are
    // rewritten in place (metaObjectBinaryC::rewriteBytes), never by
    // removing nodes, because the passes store while the tree is numbered.
    bool setTarget(const metaTreeC* node);
    // The stored address; with checked set, only when that node lies in the
    // same tree as the entry (the entry's topmost ancestor and its
    // descendants), else null. The address is only compared, never followed,
    // before it is known to be a node of the tree.
    metaTreeC* target(bool checked) const;

    // The bytes as a 32-bit signed number, the text form of the reference.
    bool setNumber(int32_t n);
    // 0 with found 0 when the bytes are not a 4-byte number.
    int32_t getNumber(int* found = nullptr) const;

    // ---- storage hooks ----
    // Number to address, after loading.
    metaTreeC* restoreAfterLoad(metaTreeC* root) override;
    // A copy of the entry holding the target's number instead of its address
    // (-1 without target, 0 for a target outside the numbered tree); hooked
    // entries nested in its record are exported in it as everywhere else.
    metaTreeC* exportNode(metaTreeC* root) override;
    // Forget the last numbered root; also writes the stored address back in
    // full, so that the export's rewrite of the entry's copy creates no node
    // (which would shift the numbers of the nodes after it).
    int32_t prepareSave(metaTreeC* root) override;
    int32_t prepareLoad(metaTreeC* root) override;

    // ---- copy hooks ----
    metaTreeC* copyNode(metaTreeC* root) override;
    // Tags the target with its own address so that afterCopy finds its copy.
    int32_t beforeCopy(metaTreeC* sourceRoot) override;
    // Re-points the copied reference at the copy of its target.
    int32_t afterCopy(metaTreeC* copyRoot) override;

private:
    const metaTreeC* storedEntry() const;
    // Numbers root unless it is the root numbered last.
    static metaTreeNumberingC& numberingOf(metaTreeC* root);
};

// The numbering that references share. The root it numbered last is
// forgotten by the first pass of every save and load and by each pre-copy
// call, so that the next pass numbers its own tree afresh.
metaTreeNumberingC& referenceNumbering();
// Frees the numbering (part of metaTreeReleaseHandlers).
void releaseReferenceNumbering();
