#include "metatree/copyWithHooks.h"
#include "metatree/metaHooks.h"
#include "metatree/metaObjectRef.h"
#include "metatree/treeWalk.h"
#include "treeTestUtil.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The child indices that lead from the root to the node.
std::vector<int> pathOf(const metaTreeC* n) {
    std::vector<int> path;
    for (; n->parent; n = n->parent) {
        int i = 0;
        for (const metaTreeC* s = n->parent->firstChild; s != n; s = s->next)
            ++i;
        path.insert(path.begin(), i);
    }
    return path;
}

const metaTreeC* follow(const metaTreeC* root, const std::vector<int>& path) {
    for (int i : path) {
        root = root->firstChild;
        for (; root && i > 0; --i)
            root = root->next;
    }
    return root;
}

// chainText() without the stored bytes, which hold addresses or numbers.
std::string shape(const metaTreeC* chain) {
    std::string out;
    for (const metaTreeC* n = chain; n; n = n->next) {
        out += n->isKey() ? n->value.text().text() : n->value.kind() == MV_STRING ? "s" : "#";
        if (n->isKey("DATA"))
            out += "(...)";
        else if (n->firstChild)
            out += "(" + shape(n->firstChild) + ")";
        out += n->next ? "," : "";
    }
    return out;
}

metaTreeC* addReference(metaTreeC* parent, const metaTreeC* target) {
    metaTreeC* entry = parent->addKey("MOREF");
    metaObjectRefC(entry).setTarget(target);
    return entry;
}

metaTreeC* targetOf(metaTreeC* entry, bool checked = true) { return metaObjectRefC(entry).target(checked); }

// ROOT{ A{ B{1} C{"c"} } REFS{ MOREF->C, MOREF->ROOT, MOREF->none, MOREF->other tree } D{2} }
struct sampleS {
    metaTreeC* other = createKeyNode("OTHER");
    metaTreeC* root = createKeyNode("ROOT");
    metaTreeC* c;
    std::vector<metaTreeC*> refs;
    sampleS() {
        metaTreeC* a = root->addKey("A");
        a->addKey("B")->addInteger(1);
        c = a->addKey("C");
        c->addString("c");
        metaTreeC* holder = root->addKey("REFS");
        refs = {addReference(holder, c), addReference(holder, root), addReference(holder, nullptr),
                addReference(holder, other)};
        root->addKey("D")->addInteger(2);
    }
    ~sampleS() {
        delete root;
        delete other;
    }
};

}  // namespace

TEST(ReferenceTest, StoresAddressAndNumber) {
    sampleS s;
    metaObjectRefC ref(s.refs[0]);
    EXPECT_EQ(treeText(s.refs[0]), "MOREF(REFTRGPTR(CODE(0),SIZE(" + std::to_string(sizeof(void*)) + "),DATA('" +
                                     std::string(metaObjectC(ref.refEntry().findChild("DATA")).getString().text()) + "')))");
    EXPECT_EQ(ref.target(true), s.c);
    EXPECT_EQ(targetOf(s.refs[2]), nullptr);
    EXPECT_EQ(targetOf(s.refs[3], false), s.other);  // stored...
    EXPECT_EQ(targetOf(s.refs[3], true), nullptr);   // ...but not in this tree
    int found = 1;
    EXPECT_EQ(ref.getNumber(&found), 0);  // an address is no 4-byte number
    EXPECT_EQ(found, 0);

    ASSERT_TRUE(ref.setNumber(1));
    EXPECT_EQ(metaObjectC(ref.refEntry().findChild("DATA")).getString(), "0g0000");  // little-endian 1
    EXPECT_EQ(ref.getNumber(&found), 1);
    EXPECT_EQ(found, 1);
    EXPECT_EQ(ref.target(false), nullptr);  // a number is no address
    ref.setNumber(-123456789);
    EXPECT_EQ(ref.getNumber(), -123456789);

    // A missing "REFTRGPTR" reads as no target and is not created by reading.
    metaObjectRefC bare(s.root->addKey("MOREF"));
    EXPECT_EQ(bare.target(false), nullptr);
    EXPECT_EQ(bare.node()->firstChild, nullptr);
}

TEST(ReferenceTest, SurvivesSaveAndLoad) {
    sampleS s;
    metaTreeC* exported = runSaveHooks(s.root, true);
    ASSERT_NE(exported, nullptr);
    // The source keeps its addresses; the export holds node numbers.
    EXPECT_EQ(targetOf(s.refs[0]), s.c);
    EXPECT_EQ(shape(exported), shape(s.root));
    const metaTreeC* exportedRefs = follow(exported, {1});
    std::vector<int32_t> numbers;
    for (const metaTreeC* r = exportedRefs->firstChild; r; r = r->next)
        numbers.push_back(metaObjectRefC(const_cast<metaTreeC*>(r)).getNumber());
    EXPECT_EQ(numbers, (std::vector<int32_t>{5, 1, -1, 0}));  // C is node 5; ROOT node 1

    // What the text reader does after parsing the export's text.
    runLoadHooks(exported, true);
    std::vector<metaTreeC*> loaded;
    for (metaTreeC* r = exportedRefs->firstChild; r; r = r->next)
        loaded.push_back(targetOf(r));
    EXPECT_EQ(loaded[0], follow(exported, pathOf(s.c)));
    EXPECT_EQ(loaded[1], exported);
    EXPECT_EQ(loaded[2], nullptr);
    EXPECT_EQ(loaded[3], nullptr);
    EXPECT_EQ(shape(exported), shape(s.root));
    EXPECT_EQ(metaObjectRefC(exportedRefs->firstChild).refEntry().storedSize(), metaObjectRefC::kAddressSize);
    delete exported;
}

TEST(ReferenceTest, LoadsBadNumbersAsNoTarget) {
    // As a text form may hold them: each REFTRGPTR below is read by the load.
    metaTreeC* root = createKeyNode("ROOT");
    auto ref = [root](double size, const char* data) {
        metaTreeC* value = root->addKey("MOREF")->addKey("REFTRGPTR");
        value->addKey("CODE")->addInteger(0);
        value->addKey("SIZE")->addDouble(size);
        if (data)
            value->addKey("DATA")->addString(data);
        return value->parent;
    };
    metaTreeC* good = ref(4, "0g0000");                             // 1: the root
    std::vector<metaTreeC*> bad = {ref(4, "000000"),                // 0
                                   ref(4, ";;;;;;"),                 // -1
                                   ref(4, "0000g0"),                 // 2^30, beyond the count
                                   ref(8, "0g0000000000"),           // the in-memory width
                                   ref(4, "0g00"),                   // short
                                   ref(4, "0g00.0"),                 // outside the alphabet
                                   ref(4, nullptr),                  // no DATA
                                   root->addKey("MOREF")};           // no REFTRGPTR
    runLoadHooks(root, true);
    EXPECT_EQ(targetOf(good), root);
    for (metaTreeC* r : bad) {
        EXPECT_EQ(targetOf(r, false), nullptr) << chainText(r);
        EXPECT_EQ(metaObjectRefC(r).refEntry().storedSize(), static_cast<int32_t>(sizeof(void*)));
    }
    delete root;
}

TEST(ReferenceTest, CopiesPointAtTheCopiedTarget) {
    sampleS s;
    metaTreeC* copy = copyWithHooks(s.root, true);
    const metaTreeC* copiedRefs = follow(copy, {1});
    std::vector<metaTreeC*> targets;
    for (metaTreeC* r = copiedRefs->firstChild; r; r = r->next)
        targets.push_back(targetOf(r, false));
    EXPECT_EQ(targets, (std::vector<metaTreeC*>{const_cast<metaTreeC*>(follow(copy, pathOf(s.c))), copy, nullptr,
                                                nullptr}));
    EXPECT_EQ(targetOf(s.refs[0]), s.c);  // the source is unchanged
    EXPECT_EQ(targetOf(s.refs[3], false), s.other);

    // Tags left on the source (by earlier copies) that equal a target's
    // address must not capture the reference.
    for (int i = 0; i < 20; ++i)
        s.root->addKey("STALE")->copyTag = reinterpret_cast<uintptr_t>(s.c);
    metaObjectC owner(copyWithHooks(s.root, true), true);
    EXPECT_EQ(targetOf(follow(owner.node(), {1})->firstChild), follow(owner.node(), pathOf(s.c)));

    // Through the meta objects: assigning an owning handle copies with hooks.
    metaObjectC assigned;
    assigned.assign(owner);
    EXPECT_EQ(targetOf(follow(assigned.node(), {1})->firstChild), follow(assigned.node(), pathOf(s.c)));

    // A sub-tree copied without the target: the copy points nowhere.
    metaTreeC* part = copyWithHooks(s.refs[0], true);
    EXPECT_EQ(targetOf(part, false), nullptr);
    delete part;
    delete copy;
}

TEST(ReferenceTest, NestedInAnotherReferenceIsConvertedToo) {
    // ROOT{ A{"a"} B{ MOREF->A { REFTRGPTR{.., MOREF->B}, NOTE{ MOREF->ROOT } } } }:
    // references inside another one's record, in its binary value and beside it.
    metaObjectC tree(createKeyNode("ROOT"), true);
    metaTreeC* a = tree.node()->addKey("A");
    a->addString("a");
    metaTreeC* b = tree.node()->addKey("B");
    metaTreeC* outer = addReference(b, a);
    metaTreeC* inStoredValue = addReference(outer->firstChild, b);
    metaTreeC* beside = addReference(outer->addKey("NOTE"), tree.node());

    metaTreeC* exported = runSaveHooks(tree.node(), true);
    ASSERT_NE(exported, nullptr);
    EXPECT_EQ(shape(exported), shape(tree.node()));
    // Every one holds a node number, none an address: A is 2, B 4, ROOT 1.
    for (auto [source, number] : {std::pair{outer, 2}, {inStoredValue, 4}, {beside, 1}}) {
        metaObjectRefC copied(const_cast<metaTreeC*>(follow(exported, pathOf(source))));
        EXPECT_EQ(copied.refEntry().storedSize(), metaObjectRefC::kNumberSize);
        EXPECT_EQ(copied.getNumber(), number);
    }
    EXPECT_EQ(targetOf(inStoredValue), b);  // the source keeps its addresses

    runLoadHooks(exported, true);
    EXPECT_EQ(targetOf(const_cast<metaTreeC*>(follow(exported, pathOf(outer)))), exported->firstChild);
    EXPECT_EQ(targetOf(const_cast<metaTreeC*>(follow(exported, pathOf(inStoredValue)))), exported->firstChild->next);
    EXPECT_EQ(targetOf(const_cast<metaTreeC*>(follow(exported, pathOf(beside)))), exported);
    delete exported;
}
