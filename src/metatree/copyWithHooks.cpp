#include "metatree/copyWithHooks.h"

#include "metatree/metaHookPasses.h"
#include "metatree/metaHookRegistries.h"
#include "metatree/metaObjectCustomCopy.h"

namespace {

template <class Call>
int64_t copyPass(metaTreeC* chain, bool firstOnly, Call call) {
    return handlerPass<metaObjectCustomCopyC>(chain, firstOnly, call);
}

// Copy tags left on the source by earlier copies would travel into this
// copy, where a handler looking for the copy of its target by tag could meet
// a stale one that happens to hold the same address (the memory of a deleted
// node is reused). Only the tags that this copy's handlers set may count.
void clearCopyTags(metaTreeC* chain, bool firstOnly) {
    preOrderVisit(chain, firstOnly, [](metaTreeC* n) {
        n->copyTag = 0;
        return walkStepE::into;
    });
}

}  // namespace

metaTreeC* copyWithHooks(const metaTreeC* chain, bool firstOnly) {
    if (!chain)
        return nullptr;
    if (!hasRegisteredKey(chain, firstOnly, copyHandlers()))
        return firstOnly ? chain->copyTree() : chain->copyChain();
    // The source's structure and values stay as they are; the pre-copy pass
    // only sets copy tags, the word that nodes keep for copying.
    metaTreeC* source = const_cast<metaTreeC*>(chain);
    clearCopyTags(source, firstOnly);
    copyPass(source, firstOnly, [source](metaObjectCustomCopyC& v) { return v.beforeCopy(source); });
    metaTreeC* copy = copyReplacing(chain, firstOnly, [source](const metaTreeC* n) {
        metaObjectCustomCopyC view(const_cast<metaTreeC*>(n));
        return view.copyNode(source);
    });
    copyPass(copy, false, [copy](metaObjectCustomCopyC& v) { return v.afterCopy(copy); });
    return copy;
}
