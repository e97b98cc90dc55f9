// Two memory systems sharing one tree, as the host and the module do: each
// node must go back to the allocator that made it, whoever deletes it.
#include "metatree/metaHookRegistries.h"
#include "metatree/metaObject.h"
#include "runtime/memory/memManSystemC.h"
#include "runtime/memory/memPoolAllocatorC.h"
#include "treeTestUtil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <map>

namespace {

// The other module's memory system: the runtime heap, with every live block
// tracked so that a release of a foreign block is caught.
class otherSystemC : public memManSystemC {
public:
    void* alloc(size_t n) override {
        void* p = std::malloc(n ? n : 1);
        live[p] = n;
        return p;
    }
    void free(void* p) override {
        if (!p)
            return;
        if (live.erase(p) == 0)
            ++foreignFrees;
        std::free(p);
    }
    void* realloc(void* p, size_t n) override {
        void* q = alloc(n);
        if (p) {
            std::memcpy(q, p, std::min(n, live[p]));
            free(p);
        }
        return q;
    }
    std::map<void*, size_t> live;
    int foreignFrees = 0;
};

otherSystemC otherSystem;

// A node type of the other module: its memory slot and its class operators
// lead to that module's system.
struct otherNodeC : metaTreeC {
    explicit otherNodeC(const char* key) : metaTreeC(metaValueC(MV_KEY, metaSrcPosS::none(), key)) {}
    memManSystemC* memSystem(int) const override { return &otherSystem; }
    static void* operator new(size_t n) { return otherSystem.alloc(n); }
    static void operator delete(void* p) noexcept { otherSystem.free(p); }
};

}  // namespace

TEST(CrossAllocatorTest, EachNodeReturnsToTheSystemThatMadeIt) {
    // The copy below consults the process-wide handler registries, which are
    // made on first use and live on: not part of what is counted here.
    metaTreeRegisterStartupHandlers();
    const int32_t poolLiveBefore = memPoolAllocatorC::instance().liveBlocks();

    // The other side's request tree; this side adds and copies nodes in it.
    metaTreeC* request = new otherNodeC("REQUEST");
    (new otherNodeC("INPUTDATA"))->appendTo(request);
    metaObjectC view(request);
    view.findOrCreateChild("OUTPUTLOCATION");
    metaObjectC(view.findChild("OUTPUTLOCATION")).setString("out.pdf");
    metaTreeC* copied = view.copy(true, true);
    view.appendChild(copied, false);
    (new otherNodeC("TAIL"))->appendTo(copied);  // other-side node inside this side's copy
    EXPECT_EQ(chainText(request), "REQUEST(INPUTDATA,OUTPUTLOCATION('out.pdf'),REQUEST(INPUTDATA,OUTPUTLOCATION('out.pdf'),TAIL))");
    EXPECT_EQ(otherSystem.live.size(), 3u);
    EXPECT_GT(memPoolAllocatorC::instance().liveBlocks(), poolLiveBefore);

    // Deleted as a plain metaTreeC: every node goes home.
    delete request;
    EXPECT_EQ(otherSystem.live.size(), 0u);
    EXPECT_EQ(otherSystem.foreignFrees, 0);
    EXPECT_EQ(memPoolAllocatorC::instance().liveBlocks(), poolLiveBefore);
}
