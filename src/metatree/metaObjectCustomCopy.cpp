#include "metatree/metaObjectCustomCopy.h"

#include "metatree/metaHandlerBinding.h"
#include "metatree/metaHookRegistries.h"

metaObjectCustomCopyC* metaObjectCustomCopyC::handler() const {
    return isKeyNode() ? lookupHandler(copyHandlers(), keyText().text()) : nullptr;
}

metaTreeC* metaObjectCustomCopyC::copyNode(metaTreeC* root) {
    return dispatchToHandler(*this, handler(), [root](auto& h) { return h.copyNode(root); });
}

int32_t metaObjectCustomCopyC::beforeCopy(metaTreeC* sourceRoot) {
    return dispatchToHandler(*this, handler(), [sourceRoot](auto& h) { return h.beforeCopy(sourceRoot); });
}

int32_t metaObjectCustomCopyC::afterCopy(metaTreeC* copyRoot) {
    return dispatchToHandler(*this, handler(), [copyRoot](auto& h) { return h.afterCopy(copyRoot); });
}
