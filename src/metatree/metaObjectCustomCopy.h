// The hooks that an entry's handler gets around copying a tree.
//
// Works like metaObjectCustomStorageC, with the copy registry: the base
// implementation of every slot hands the call to the handler registered for
// the node's key and answers null or 0 where there is none.
#pragma once

#include "metatree/metaObject.h"

#include <cstdint>

class metaObjectCustomCopyC : public virtual metaObjectC {
public:
    metaObjectCustomCopyC() = default;
    explicit metaObjectCustomCopyC(metaTreeC* node, bool own = false) : metaObjectC(node, own) {}

    // While the copy is built: the node's complete replacement in the copy
    // (owned by the copy), or null for a plain copy. root is the source root.
    virtual metaTreeC* copyNode(metaTreeC* root);
    // Over the source before the copy is made.
    virtual int32_t beforeCopy(metaTreeC* sourceRoot);
    // Over the finished copy.
    virtual int32_t afterCopy(metaTreeC* copyRoot);

private:
    metaObjectCustomCopyC* handler() const;
};
