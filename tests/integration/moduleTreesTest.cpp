// Trees that cross the module boundary. The host and the module each have
// their own allocator; a node belongs to the one that made it, whoever
// deletes it.
#include "support/trees/treeText.h"
#include "metatree/metaTree.h"
#include "moduleHost.h"
#include "runtime/memory/memPoolAllocatorC.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Whether the node's class (its virtual table, and so its deleting
// destructor) is the module's.
bool madeByModule(const metaTreeC* node, const loadedModuleS& module) {
    const void* vtable = *reinterpret_cast<const void* const*>(node);
    return moduleHolds(module.handle, vtable);
}

// The tree with the module's nodes marked by a "*".
std::string ownership(const metaTreeC* node, const loadedModuleS& module) {
    std::string out = madeByModule(node, module) ? "*" : "";
    out += node->value.kind() == MV_KEY ? node->value.text().text() : "value";
    if (node->firstChild) {
        out += "(";
        for (const metaTreeC* child = node->firstChild; child; child = child->next)
            out += ownership(child, module) + (child->next ? "," : "");
        out += ")";
    }
    return out;
}

int32_t hostLiveBlocks() { return memPoolAllocatorC::instance().liveBlocks(); }

TEST(ModuleTreesTest, NodesTheModuleAddsToARequestAreFreedByTheHost) {
    loadedModuleS module;
    scratchDirS dir("trees");
    const int32_t before = hostLiveBlocks();
    {
        std::unique_ptr<metaTreeC> request(createKeyNode("REQUEST"));
        addText(request.get(), "OUTPUTLOCATION", (dir / "out.pdf").string().c_str());
        addKey(addKey(request.get(), "INPUTDATA"), "MODEL");
        const int32_t hostNodes = hostLiveBlocks();
        EXPECT_EQ(module.convertMetaTree(request.get(), 0), 0);  // no model to embed
        // The keys the read created, and the entry that tells why the
        // conversion failed, with its values.
        EXPECT_EQ(ownership(request.get(), module),
                  "REQUEST(OUTPUTLOCATION(value),INPUTDATA(MODEL(*FILENAME,*U3DBOXMIN,*U3DBOXMAX)),"
                  "*NAME,*VERSION,*CUSTOMDATA(*ENTRIES(*ENTRY(*KEY(*value),*TEXT(*value)))))");
        // The module's nodes took nothing from the host's allocator.
        EXPECT_EQ(hostLiveBlocks(), hostNodes);
    }
    // Deleted by the host: each node went back to its own allocator, and the
    // host's has exactly what it had before.
    EXPECT_EQ(hostLiveBlocks(), before);
}

TEST(ModuleTreesTest, EachGetCapsIsANewTreeTheHostDeletes) {
    loadedModuleS module;
    ASSERT_NE(module.getCaps, nullptr);
    const int32_t before = hostLiveBlocks();
    metaTreeC* first = module.getCaps();
    metaTreeC* second = module.getCaps();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(first, second);
    EXPECT_TRUE(madeByModule(first, module));
    const std::string text = treeText(first);
    EXPECT_EQ(text.substr(0, 53), "DLLIFACE(INFO(NAME('U3D Translator'),VERSION('V1.0'),");
    EXPECT_NE(text.find("VERSIONSDESC('Adobe Acrobat Reader 7.0.8'),VERSIONS('7'))))))"), std::string::npos);
    EXPECT_EQ(treeText(second), text);
    EXPECT_EQ(hostLiveBlocks(), before);

    // The host edits and deletes one; the other is untouched.
    metaTreeC* info = first->firstChild;
    info->unlink();
    delete info;
    EXPECT_EQ(treeText(first).substr(0, 31), "DLLIFACE(IOPAIRS(IOPAIR(INFMT(F");
    delete first;
    EXPECT_EQ(treeText(second), text);
    delete second;
    EXPECT_EQ(hostLiveBlocks(), before);
}

}  // namespace
