#include "metatree/metaHookRegistries.h"

#include "metatree/metaObjectCRC.h"
#include "metatree/metaObjectRef.h"

namespace {

struct hookStateS {
    metaHandlerRegistryT<metaObjectCustomStorageC> storage;
    metaHandlerRegistryT<metaObjectCustomCopyC> copy;
    // The start-up handlers: created empty, never owning, bound to a node
    // only for the duration of one dispatched call.
    metaObjectRefC referenceStorage;
    metaObjectCRCC checksum;
    metaObjectRefC referenceCopy;
};

// Constant-initialised, so valid before any constructor of this file ran.
hookStateS* state = nullptr;

// Releases what the registries hold at process end when nobody did it
// earlier; constant-initialised like the pointer above.
struct releaseAtExitS {
    constexpr releaseAtExitS() = default;
    ~releaseAtExitS() { metaTreeReleaseHandlers(); }
};
releaseAtExitS releaseAtExit;

}  // namespace

void metaTreeRegisterStartupHandlers() {
    if (state)
        return;
    state = new hookStateS;
    registerHandler<metaObjectCustomStorageC>(state->storage, "MOREF", &state->referenceStorage,
                                              kStartupHandlerPriority);
    registerHandler<metaObjectCustomStorageC>(state->storage, "MOCRC", &state->checksum,
                                              kStartupHandlerPriority);
    registerHandler<metaObjectCustomCopyC>(state->copy, "MOREF", &state->referenceCopy,
                                           kStartupHandlerPriority);
}

void metaTreeReleaseHandlers() {
    delete state;
    state = nullptr;
    releaseReferenceNumbering();
}

metaHandlerRegistryT<metaObjectCustomStorageC>& storageHandlers() {
    metaTreeRegisterStartupHandlers();
    return state->storage;
}

metaHandlerRegistryT<metaObjectCustomCopyC>& copyHandlers() {
    metaTreeRegisterStartupHandlers();
    return state->copy;
}
