// The hooks that an entry's handler gets around saving and loading a tree.
//
// A pass creates one of these over each node it visits; the base
// implementation of every slot hands the call to the handler registered for
// the node's key in the storage registry (metaHookRegistries.h) and answers
// null or 0 where there is none. Handlers derive from this class and
// override the slots they need. Every slot receives the root of the tree
// being processed.
#pragma once

#include "metatree/metaObject.h"

#include <cstdint>

class metaObjectCustomStorageC : public virtual metaObjectC {
public:
    metaObjectCustomStorageC() = default;
    explicit metaObjectCustomStorageC(metaTreeC* node, bool own = false) : metaObjectC(node, own) {}

    // Second load pass; the passes ignore the result.
    virtual metaTreeC* restoreAfterLoad(metaTreeC* root);
    // While the export copy is built: the node's complete replacement in the
    // copy (owned by the copy), or null for a plain copy.
    virtual metaTreeC* exportNode(metaTreeC* root);
    // Over the source before the export copy is made.
    virtual int32_t prepareSave(metaTreeC* root);
    // Over the export copy.
    virtual int32_t finishExport(metaTreeC* root);
    // First and third load passes.
    virtual int32_t prepareLoad(metaTreeC* root);
    virtual int32_t finishLoad(metaTreeC* root);

private:
    metaObjectCustomStorageC* handler() const;
};
