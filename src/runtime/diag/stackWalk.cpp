#include "runtime/diag/stackWalk.h"

namespace {

// A sound chain only ever moves up the stack, and no frame of this code base
// comes near this size; a larger step means the saved word is no frame
// pointer at all (code built without frame pointers uses the register freely).
// A saved frame pointer equal to its frame counts as broken too: followed, it
// would fill the capture with one made-up frame.
constexpr uint64_t kMaxFrameStep = 65543;

// How far the unwinder looks for the starting frame: the walker, its caller
// and a signal handler's frames lie between it and a faulting frame.
constexpr int kUnwindDepth = 64;

// Granularity of the readability probes: it divides every page size, so a
// block lies within one page and is readable as a whole or not at all.
constexpr uint64_t kProbeBlock = 4096;

// Reads the two words of a frame: the saved frame pointer, then the return
// address. Frames of one stack share few blocks; a block found readable once
// is read directly from then on, so a walk costs a probe (a system call) per
// block and not per frame.
class frameReaderC {
public:
    bool read(uint64_t frame, uint64_t* words) {
        const uint64_t block = frame & ~(kProbeBlock - 1);
        if (block == readableBlock_ && frame % 8 == 0 && frame + 16 <= block + kProbeBlock) {
            load(frame, words);
            return true;
        }
        if (platform::readMemory(reinterpret_cast<const void*>(frame), words, 16) != 16)
            return false;
        readableBlock_ = block;
        return true;
    }

private:
    // A frame pointer may point anywhere in readable memory, poisoned
    // sanitizer red zones included: the load is the walker's own business.
    __attribute__((no_sanitize("address"))) static void load(uint64_t frame, uint64_t* words) {
        const auto* p = reinterpret_cast<const uint64_t*>(frame);
        words[0] = p[0];
        words[1] = p[1];
    }

    uint64_t readableBlock_ = 1;  // no block starts at 1: none known yet
};

// Follows saved frame pointers from frame, appending return addresses to
// out[count..]. False when the chain turns out unsound and the stack has to
// be walked another way.
bool walkFramePointers(uint64_t frame, uint64_t* out, int& count) {
    frameReaderC reader;
    while (count < kCapturedStackEntries) {
        uint64_t words[2];  // the saved frame pointer, then the return address
        if (!reader.read(frame, words))
            return false;
        // No call returns to address 0: the register held no frame pointer.
        if (words[1] == 0)
            return false;
        out[count++] = words[1];
        const uint64_t saved = words[0];
        if (saved == 0)
            return true;
        if (saved <= frame || saved - frame > kMaxFrameStep)
            return false;
        frame = saved;
    }
    return true;
}

// Starts over with the unwinder, which reads the compiler's unwind tables
// instead of trusting the frame pointer register. It walks the current thread
// from here, through a signal frame if there is one; the capture begins where
// it meets pc. False when pc is not among the frames it finds.
bool walkWithUnwinder(uint64_t pc, uint64_t* out, int& count) {
    uint64_t frames[kUnwindDepth];
    const int n = platform::captureStack(frames, kUnwindDepth, 0);
    for (int i = 0; i < n; ++i) {
        if (frames[i] != pc)
            continue;
        count = 0;
        for (int j = i; j < n && count < kCapturedStackEntries; ++j)
            out[count++] = frames[j];
        return true;
    }
    return false;
}

}  // namespace

int debugHelpReady() { return platform::symbolizerReady() ? 1 : 0; }

void walkStack(uint64_t pc, uint64_t framePointer, uint64_t* out) {
    out[0] = 0;
    if (!debugHelpReady())
        return;
    int count = 0;
    // When the unwinder does not reach pc either, the frames the chain gave
    // before it broke are still the best account of the stack.
    if (!platform::kFramePointerChain || !walkFramePointers(framePointer, out, count))
        walkWithUnwinder(pc, out, count);
    if (count < kCapturedStackEntries)
        out[count] = 0;
}

// The return address into the caller serves as the program counter: both
// walks then begin with the caller's frame, and the unwinder finds exactly
// that address among its frames. The frame address builtin makes the compiler
// give this function a frame pointer even where it omits them otherwise.
__attribute__((noinline)) void captureStack(uint64_t* out) {
    walkStack(reinterpret_cast<uintptr_t>(__builtin_return_address(0)),
              reinterpret_cast<uintptr_t>(__builtin_frame_address(0)), out);
    // Keeps this frame alive during the walk: no tail call into walkStack.
    asm volatile("" ::: "memory");
}
