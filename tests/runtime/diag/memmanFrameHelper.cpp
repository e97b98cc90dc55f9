// A frame in a source file whose name marks the runtime's own memory
// management: frame listings leave such frames out.
#include "runtime/diag/stackWalk.h"

__attribute__((noinline)) void memmanCaptureStack(uint64_t* out) {
    captureStack(out);
    asm volatile("" ::: "memory");
}
