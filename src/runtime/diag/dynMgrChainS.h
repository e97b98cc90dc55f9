// The dynamic manager chain: links the memory managers of all modules of
// one process built on this runtime, so that one module can ask every
// other module's manager for its reports and totals.
//
// The first module to start publishes the address of its record in the
// environment variable "QVDYNMGRV8_<key>", the key derived from the process
// identity (so a child process that inherits the environment does not find
// its parent's record); every later module links its record directly behind
// that head. Other modules call the record's operations through its table,
// so the slot order of the virtual operations below is a binary interface
// between modules and must not change; nothing may be added in front of
// them, and the record has no virtual destructor for that reason.
#pragma once

#include "runtime/memory/memReport.h"

#include <cstddef>
#include <cstdint>

class memPoolAllocatorC;
class memTrackReportsC;

struct dynMgrChainS {
    // Unchained; the manager is the allocator of the given reports.
    explicit dynMgrChainS(memTrackReportsC& reports);
    dynMgrChainS(const dynMgrChainS&) = delete;
    dynMgrChainS& operator=(const dynMgrChainS&) = delete;

    // ---- slots, in their fixed order -------------------------------------------------
    // 1: sets the head (null unchains) and resets this module's output
    // function to its default.
    virtual void setHead(dynMgrChainS* newHead);
    // 2 to 6: the reports of this module's manager, written through the
    // caller's output function (unless this module has a report file); the
    // default output function is restored afterwards.
    virtual void leakReport(memOutputFn outputFn);
    virtual void memoryCheck(memOutputFn outputFn);
    virtual void takeSnapshot();
    virtual void compareSnapshot(memOutputFn outputFn);
    virtual void inspectAddress(memOutputFn outputFn, const void* address);
    // 7 to 9: pool bytes at peak + OS bytes at peak; OS bytes at peak; peak
    // page count x 10000.
    virtual uint64_t peakBytes();
    virtual uint64_t peakOsBytes();
    virtual uint64_t peakPoolBytes();

    // ---- this module's side ------------------------------------------------------------
    // Finds the process's head through the environment and links behind it,
    // or publishes this record as the head when there is none.
    void link();
    // The head unchains every record and removes the variable; any other
    // record takes itself out of its head's chain.
    void unlink();

    dynMgrChainS* next = nullptr;  // following record, null at the end
    dynMgrChainS* head = nullptr;  // first record; this one when it published; null unchained
    memPoolAllocatorC* manager;    // this module's memory manager

private:
    memTrackReportsC* reports_;
};

// The variable's name for this process: "QVDYNMGRV8_%u" with the process id
// XOR the high and the low 32 bits of the process start time.
constexpr size_t kDynMgrVariableNameSize = 32;
void dynMgrChainVariableName(char (&name)[kDynMgrVariableNameSize]);

// The module's record, over the module's allocator and reports. Its start-up
// step links it (after the memory system, before the report tables, the
// allocator and the crash handler); its unload step, after the allocator's
// shutdown, unlinks it.
dynMgrChainS& dynMgrChain();
void dynMgrChainStartup();
void dynMgrChainShutdown();
