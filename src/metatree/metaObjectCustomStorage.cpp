#include "metatree/metaObjectCustomStorage.h"

#include "metatree/metaHandlerBinding.h"
#include "metatree/metaHookRegistries.h"

metaObjectCustomStorageC* metaObjectCustomStorageC::handler() const {
    return isKeyNode() ? lookupHandler(storageHandlers(), keyText().text()) : nullptr;
}

metaTreeC* metaObjectCustomStorageC::restoreAfterLoad(metaTreeC* root) {
    return dispatchToHandler(*this, handler(), [root](auto& h) { return h.restoreAfterLoad(root); });
}

metaTreeC* metaObjectCustomStorageC::exportNode(metaTreeC* root) {
    return dispatchToHandler(*this, handler(), [root](auto& h) { return h.exportNode(root); });
}

int32_t metaObjectCustomStorageC::prepareSave(metaTreeC* root) {
    return dispatchToHandler(*this, handler(), [root](auto& h) { return h.prepareSave(root); });
}

int32_t metaObjectCustomStorageC::finishExport(metaTreeC* root) {
    return dispatchToHandler(*this, handler(), [root](auto& h) { return h.finishExport(root); });
}

int32_t metaObjectCustomStorageC::prepareLoad(metaTreeC* root) {
    return dispatchToHandler(*this, handler(), [root](auto& h) { return h.prepareLoad(root); });
}

int32_t metaObjectCustomStorageC::finishLoad(metaTreeC* root) {
    return dispatchToHandler(*this, handler(), [root](auto& h) { return h.finishLoad(root); });
}
