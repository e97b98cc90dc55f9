// The module's start-up and unload sequence, in one place.
//
// The runtime services depend on one another (the allocator reports through
// the log, the crash handler writes what the log and the allocator know), so
// the order in which they come up and go down is fixed here instead of being
// left to the order in which the linker happens to place static objects.
// One static object runs the whole sequence. Its priority is the first a
// program may use: it is constructed before every other static object of the
// module, which may already allocate or log, and destroyed after all of them.
#include "metatree/metaHookRegistries.h"
#include "runtime/diag/codeTrack.h"
#include "runtime/diag/crashHandlerC.h"
#include "runtime/diag/dynMgrChainS.h"
#include "runtime/diag/memTrackReportsC.h"
#include "runtime/memory/memPoolAllocatorC.h"
#include "runtime/platform/platform.h"

namespace {

class moduleLifetimeC {
public:
    moduleLifetimeC() {
        // 1. The code tracking log, first up so that everything after it
        //    can leave records.
        codeTrackStartup();
        // 2. The memory system needs no step: it is constant-initialised and
        //    never destroyed, so objects released late still reach it.
        // 3. The manager chain record, published to or linked behind the
        //    process's first module.
        dynMgrChainStartup();
        // 4. The report group tables; this also gives the allocator its
        //    leak report for unload.
        memTrackReportsStartup();
        // 5. The pooled allocator reads its tracking settings.
        memPoolAllocatorC::instance().initialise();
        // 6. The meta tree's hook registries with their start-up entries.
        metaTreeRegisterStartupHandlers();
        // 7. The crash handler chosen by QVDBG_EXCEPTIONHANDLER, last: it
        //    reports through everything above.
        crashHandlerInstall();
    }

    ~moduleLifetimeC() {
        crashHandlerUninstall();
        // Before the allocator's leak report, which would list them.
        metaTreeReleaseHandlers();
        memPoolAllocatorC::instance().shutdown();
        dynMgrChainShutdown();
        // The memory system keeps its (constant) state.
        codeTrackShutdown();
        // The crash handler and the reports loaded the symboliser; a host
        // that loads and unloads the module repeatedly must not pay for it.
        platform::releaseSymbolizer();
    }

    moduleLifetimeC(const moduleLifetimeC&) = delete;
    moduleLifetimeC& operator=(const moduleLifetimeC&) = delete;
};

moduleLifetimeC g_moduleLifetime __attribute__((init_priority(101)));

}  // namespace
