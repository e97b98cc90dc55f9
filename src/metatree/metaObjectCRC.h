// A checksum entry: "MOCRC" with "CRCTYPE" (always 0) and "CRCVALUE" (a
// CRC-32 as a signed 32-bit integer).
//
// The checksum covers the target of the entry's "MOREF" child when it has
// one in the same tree, else the entry's parent: that node, its following
// siblings and all their descendants, as text. Keys count with their text,
// strings quoted and escaped, every double as the same three characters
// "VAL" (so numbers may change without changing the checksum); entries with
// a storage handler ("MOCRC", "MOREF") are skipped with their sub-trees,
// and a covered node inside such an entry's record covers nothing. As a
// storage handler it recomputes the checksum before every save.
#pragma once

#include "metatree/metaObjectCustomStorage.h"

#include <cstdint>

class metaObjectCRCC : public metaObjectCustomStorageC {
public:
    metaObjectCRCC() = default;
    explicit metaObjectCRCC(metaTreeC* node, bool own = false) : metaObjectC(node, own) {}

    // Stores "CRCTYPE" 0 and the fresh "CRCVALUE"; 1 on success, 0 for an
    // empty handle, without covered node, or when "CRCVALUE" holds a value of
    // another kind that the setter will not replace.
    int32_t computeAndStore();
    // 1 when a fresh checksum equals the stored "CRCVALUE" integer, else 0.
    int32_t verify() const;

    // The checksum, and whether there was a covered node.
    bool compute(uint32_t& crc) const;

    int32_t prepareSave(metaTreeC* root) override;

private:
    const metaTreeC* covered() const;
};
