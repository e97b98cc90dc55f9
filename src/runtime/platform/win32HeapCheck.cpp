// The process heaps seen by the memory check: every heap walked entry by
// entry, each busy entry validated and its data probed.
#include "runtime/platform/platform.h"

#include <windows.h>

namespace platform {

namespace {

constexpr DWORD kMaxHeaps = 1024;

// The first problem of one heap, or false when it walked to its end.
bool firstProblem(HANDLE heap, HeapIssue& issue) {
    PROCESS_HEAP_ENTRY entry;
    entry.lpData = nullptr;
    const void* previous = nullptr;
    for (;;) {
        if (!HeapWalk(heap, &entry)) {
            if (GetLastError() == ERROR_NO_MORE_ITEMS)
                return false;
            issue = {HeapProblem::Node, entry.lpData};
            return true;
        }
        // A walk that stands still would never end.
        if (entry.lpData == previous)
            return false;
        previous = entry.lpData;
        if (!(entry.wFlags & PROCESS_HEAP_ENTRY_BUSY))
            continue;
        if (!HeapValidate(heap, 0, entry.lpData)) {
            issue = {HeapProblem::Block, entry.lpData};
            return true;
        }
        if (IsBadReadPtr(entry.lpData, entry.cbData) ||
            IsBadWritePtr(entry.lpData, entry.cbData)) {
            issue = {HeapProblem::DataPtr, entry.lpData};
            return true;
        }
    }
}

}  // namespace

int checkProcessHeaps(HeapIssue* out, int max) {
    static HANDLE heaps[kMaxHeaps];
    DWORD count = GetProcessHeaps(kMaxHeaps, heaps);
    if (count > kMaxHeaps)
        count = kMaxHeaps;
    int found = 0;
    for (DWORD i = 0; i < count && found < max; ++i) {
        if (!HeapLock(heaps[i])) {
            out[found++] = {HeapProblem::Structure, heaps[i]};
            continue;
        }
        HeapIssue issue;
        const bool broken = firstProblem(heaps[i], issue);
        HeapUnlock(heaps[i]);
        if (broken)
            out[found++] = issue;
    }
    return found;
}

}  // namespace platform
