#include "metatree/metaHandlerRegistry.h"
#include "metatree/metaHookRegistries.h"
#include "metatree/metaObjectCustomCopy.h"
#include "metatree/metaObjectCustomStorage.h"
#include "treeTestUtil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records which node it was bound to when its slot ran.
class probeHandlerC : public metaObjectCustomStorageC {
public:
    int32_t prepareLoad(metaTreeC* root) override {
        seen.push_back(node());
        seenRoot = root;
        return 5;
    }
    std::vector<metaTreeC*> seen;
    metaTreeC* seenRoot = nullptr;
};

std::vector<std::string> keysOf(const metaObjectInterfaceListC& list) {
    std::vector<std::string> keys;
    for (uint32_t i = 0; i < list.count(); ++i)
        keys.emplace_back(list.at(i).key.text());
    return keys;
}

}  // namespace

TEST(HandlerRegistryTest, KeepsKeysSortedAndSettlesConflictsByPriority) {
    metaHandlerRegistryT<metaObjectCustomStorageC> registry;
    std::vector<metaObjectCustomStorageC> handlers(12);
    const char* keys[] = {"MOREF", "C", "\xE9t\xE9", "A", "Q", "B", "z", "MOCRC", "a", "M", "ZZ", "MO"};
    for (int i = 0; i < 12; ++i) {
        registerHandler(registry, keys[i], &handlers[static_cast<size_t>(i)], 3);
        if (i == 3) {  // still small enough for a linear scan
            EXPECT_EQ(lookupHandler(registry, "C"), &handlers[1]);
        }
    }
    // Unsigned byte order: upper case, lower case, then bytes above 0x7F.
    EXPECT_EQ(keysOf(registry.entries()),
              (std::vector<std::string>{"A", "B", "C", "M", "MO", "MOCRC", "MOREF", "Q", "ZZ", "a", "z", "\xE9t\xE9"}));
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(lookupHandler(registry, keys[i]), &handlers[static_cast<size_t>(i)]) << keys[i];
    for (const char* missing : {"", "0", "MOR", "MOREFS", "b", "\xFF"})
        EXPECT_EQ(lookupHandler(registry, missing), nullptr) << missing;
    EXPECT_EQ(lookupHandler(registry, nullptr), nullptr);

    metaObjectCustomStorageC other;
    registerHandler(registry, "MOREF", &other, 3);  // equal priority: kept
    registerHandler(registry, "MOREF", &other, 2);
    EXPECT_EQ(lookupHandler(registry, "MOREF"), &handlers[0]);
    registerHandler(registry, "MOREF", &other, 4);  // higher: replaced
    EXPECT_EQ(lookupHandler(registry, "MOREF"), &other);
    EXPECT_EQ(registry.entries().count(), 12u);
    registerHandler(registry, "", &other, 9);  // an empty key is never found
    EXPECT_EQ(registry.entries().count(), 12u);
}

TEST(HandlerRegistryTest, StartupEntriesArriveOnFirstUseAndCanBeReplaced) {
    metaTreeReleaseHandlers();  // as after an unload: the next use starts over
    metaObjectCustomStorageC* reference = lookupHandler(storageHandlers(), "MOREF");
    ASSERT_NE(reference, nullptr);
    EXPECT_NE(lookupHandler(storageHandlers(), "MOCRC"), nullptr);
    EXPECT_NE(lookupHandler(copyHandlers(), "MOREF"), nullptr);
    EXPECT_EQ(lookupHandler(copyHandlers(), "MOCRC"), nullptr);
    EXPECT_FALSE(reference->valid());  // created empty
    metaTreeRegisterStartupHandlers();  // idempotent
    EXPECT_EQ(lookupHandler(storageHandlers(), "MOREF"), reference);

    probeHandlerC probe;
    registerHandler<metaObjectCustomStorageC>(storageHandlers(), "MOREF", &probe, kStartupHandlerPriority);
    EXPECT_EQ(lookupHandler(storageHandlers(), "MOREF"), reference);
    registerHandler<metaObjectCustomStorageC>(storageHandlers(), "MOREF", &probe, kStartupHandlerPriority + 1);
    EXPECT_EQ(lookupHandler(storageHandlers(), "MOREF"), &probe);

    // Dispatch: the base slot lends the handler to the node, then hands it
    // back to what it viewed before.
    metaObjectC tree(keyList("R", "MOREF,OTHER"), true);
    metaTreeC* earlier = createKeyNode("EARLIER");
    probe.attach(earlier, false);
    metaObjectCustomStorageC view(tree.childAt(0));
    EXPECT_EQ(view.prepareLoad(tree.node()), 5);
    EXPECT_EQ(probe.seen, std::vector<metaTreeC*>{tree.childAt(0)});
    EXPECT_EQ(probe.seenRoot, tree.node());
    EXPECT_EQ(probe.node(), earlier);
    EXPECT_FALSE(probe.owns());
    // No handler for the key, a value node, the handler itself: nothing.
    EXPECT_EQ(metaObjectCustomStorageC(tree.childAt(1)).prepareLoad(tree.node()), 0);
    EXPECT_EQ(metaObjectCustomStorageC(tree.childAt(0)->addString("s")).prepareLoad(tree.node()), 0);
    probe.release();
    probe.attach(tree.childAt(0), false);
    EXPECT_EQ(probe.finishLoad(tree.node()), 0);  // not overridden: finds itself
    EXPECT_EQ(metaObjectCustomCopyC(tree.childAt(0)).beforeCopy(tree.node()), 1);  // the copy registry's own
    probe.release();
    delete earlier;

    metaTreeReleaseHandlers();  // drops the probe with the rest
    EXPECT_NE(lookupHandler(storageHandlers(), "MOREF"), &probe);
}
