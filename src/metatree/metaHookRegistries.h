// The two process-wide handler registries and their start-up entries.
//
// The storage registry serves saving and loading, the copy registry copying.
// Both are created, with the start-up registrations ("MOREF" and "MOCRC" for
// storage, "MOREF" for copy, each at priority 3), on first use: a tree may be
// processed before or during static initialisation, and the linker drops an
// object file of a static library that nothing references, so nothing here
// relies on a static constructor having run.
#pragma once

#include "metatree/metaHandlerRegistry.h"

class metaObjectCustomStorageC;
class metaObjectCustomCopyC;

// Priority of the start-up registrations; a later registration for the same
// key needs a higher one to replace them.
inline constexpr int32_t kStartupHandlerPriority = 3;

// Creates the registries with their start-up entries; does nothing when they
// exist. Every accessor below calls it.
void metaTreeRegisterStartupHandlers();
// Empties both registries and deletes the start-up handler instances and the
// node numbering of references (for the module's unload sequence; also run at
// process end). A later use starts over with fresh start-up entries.
void metaTreeReleaseHandlers();

metaHandlerRegistryT<metaObjectCustomStorageC>& storageHandlers();
metaHandlerRegistryT<metaObjectCustomCopyC>& copyHandlers();
