// The translator's two entry points. The module exports them under their
// plain C names (src/module); inside the code base they live in this
// namespace, so that nothing in the module calls through the exported
// symbols a host might interpose.
#pragma once

#include <cstdint>

class metaTreeC;

namespace translator {

// A new capability tree; the caller owns it and deletes its root.
metaTreeC* getCaps();

// Converts the request (owned by the caller, who sees the keys that the read
// created) into a PDF file; 1 on success, 0 when the conversion failed. An
// allocation failure before the conversion proper starts propagates.
// fncPointer is the host's and is never used.
int convertMetaTree(metaTreeC* data, uintptr_t fncPointer);

// Calls of convertMetaTree so far, counted twice: odd exactly while a
// conversion runs.
uint32_t convertCallCounter();

}  // namespace translator
