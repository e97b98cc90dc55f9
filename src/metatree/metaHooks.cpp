#include "metatree/metaHooks.h"

#include "metatree/metaHookPasses.h"
#include "metatree/metaHookRegistries.h"
#include "metatree/metaObjectCustomStorage.h"

namespace {

template <class Call>
int64_t storagePass(metaTreeC* chain, bool firstOnly, Call call) {
    return handlerPass<metaObjectCustomStorageC>(chain, firstOnly, call);
}

}  // namespace

void runLoadHooks(metaTreeC* chain, bool firstOnly) {
    if (!chain || !hasRegisteredKey(chain, firstOnly, storageHandlers()))
        return;
    storagePass(chain, firstOnly, [chain](metaObjectCustomStorageC& v) { return v.prepareLoad(chain); });
    storagePass(chain, firstOnly, [chain](metaObjectCustomStorageC& v) {
        v.restoreAfterLoad(chain);
        return 0;
    });
    storagePass(chain, firstOnly, [chain](metaObjectCustomStorageC& v) { return v.finishLoad(chain); });
}

metaTreeC* runSaveHooks(metaTreeC* chain, bool firstOnly) {
    if (!chain || !hasRegisteredKey(chain, firstOnly, storageHandlers()))
        return nullptr;
    storagePass(chain, firstOnly, [chain](metaObjectCustomStorageC& v) { return v.prepareSave(chain); });
    metaTreeC* exported = exportCopy(chain, firstOnly, chain);
    storagePass(exported, false, [exported](metaObjectCustomStorageC& v) { return v.finishExport(exported); });
    return exported;
}

metaTreeC* exportCopy(const metaTreeC* chain, bool firstOnly, metaTreeC* root) {
    return copyReplacing(chain, firstOnly, [root](const metaTreeC* n) {
        // The handler reads the source node and makes its replacement; it
        // does not change the source. A handler that calls back in here for
        // its own record is lent to the nested entry for that call and
        // returns to its own node afterwards (metaHandlerBinding.h).
        metaObjectCustomStorageC view(const_cast<metaTreeC*>(n));
        return view.exportNode(root);
    });
}
