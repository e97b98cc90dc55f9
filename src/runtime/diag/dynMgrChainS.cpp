#include "runtime/diag/dynMgrChainS.h"

#include "runtime/diag/memTrackReportsC.h"
#include "runtime/diag/pointerText.h"
#include "runtime/memory/memPoolAllocatorC.h"
#include "runtime/platform/platform.h"

#include <cstdio>

namespace {

// Lends a report the caller's output function for its run.
class outputScopeC {
public:
    explicit outputScopeC(memOutputFn fn) { memSetOutputFunction(fn); }
    ~outputScopeC() { memSetOutputFunction(nullptr); }
    outputScopeC(const outputScopeC&) = delete;
    outputScopeC& operator=(const outputScopeC&) = delete;
};

// The head named by the variable, or null. Another module's record is
// trusted as the variable describes it, but a value that is no address,
// or an address whose record cannot be read, is taken for no head at all:
// linking behind it would write into whatever lies there.
dynMgrChainS* publishedHead(const char* name) {
    const char* value = platform::getEnv(name);
    if (value == nullptr)
        return nullptr;
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%s", value);
    void* address = nullptr;
    unsigned char record[sizeof(dynMgrChainS)];
    if (!parsePointer(buffer, address) ||
        platform::readMemory(address, record, sizeof record) != sizeof record)
        return nullptr;
    return static_cast<dynMgrChainS*>(address);
}

}  // namespace

void dynMgrChainVariableName(char (&name)[kDynMgrVariableNameSize]) {
    const uint64_t started = platform::processStartTime();
    const uint32_t key = platform::processId() ^ static_cast<uint32_t>(started >> 32) ^
                         static_cast<uint32_t>(started);
    std::snprintf(name, sizeof name, "QVDYNMGRV8_%u", key);
}

dynMgrChainS::dynMgrChainS(memTrackReportsC& reports)
    : manager(&reports.allocator()), reports_(&reports) {}

void dynMgrChainS::setHead(dynMgrChainS* newHead) {
    head = newHead;
    memSetOutputFunction(nullptr);
}

void dynMgrChainS::leakReport(memOutputFn outputFn) {
    outputScopeC output(outputFn);
    reports_->leakReport();
}

void dynMgrChainS::memoryCheck(memOutputFn outputFn) {
    outputScopeC output(outputFn);
    reports_->memoryCheck();
}

void dynMgrChainS::takeSnapshot() { reports_->takeSnapshot(); }

void dynMgrChainS::compareSnapshot(memOutputFn outputFn) {
    outputScopeC output(outputFn);
    reports_->compareSnapshot();
}

void dynMgrChainS::inspectAddress(memOutputFn outputFn, const void* address) {
    outputScopeC output(outputFn);
    reports_->inspect(address);
}

uint64_t dynMgrChainS::peakBytes() { return manager->peakBytes(); }

uint64_t dynMgrChainS::peakOsBytes() { return manager->peakOsBytes(); }

uint64_t dynMgrChainS::peakPoolBytes() { return manager->peakPoolBytes(); }

void dynMgrChainS::link() {
    if (head != nullptr)
        return;
    char name[kDynMgrVariableNameSize];
    dynMgrChainVariableName(name);
    dynMgrChainS* found = publishedHead(name);
    if (found != nullptr && found != this) {
        next = found->next;
        found->next = this;
        head = found;
        return;
    }
    next = nullptr;
    head = this;
    char value[kPointerTextSize];
    formatPointer(this, value);
    platform::setEnv(name, value);
}

void dynMgrChainS::unlink() {
    if (head == this) {
        for (dynMgrChainS* record = this; record != nullptr; record = record->next)
            record->setHead(nullptr);
        char name[kDynMgrVariableNameSize];
        dynMgrChainVariableName(name);
        // Only its own entry: a variable that names another record by now
        // belongs to that record.
        if (publishedHead(name) == this)
            platform::setEnv(name, nullptr);
    } else if (head != nullptr) {
        for (dynMgrChainS* record = head; record != nullptr; record = record->next) {
            if (record->next == this) {
                record->next = next;
                break;
            }
        }
    }
    head = nullptr;
    next = nullptr;
}

dynMgrChainS& dynMgrChain() {
    static dynMgrChainS record(memTrackReportsC::module());
    return record;
}

void dynMgrChainStartup() { dynMgrChain().link(); }

void dynMgrChainShutdown() { dynMgrChain().unlink(); }
