#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "PdfTestSupport.h"
#include "pdf/PdfArray.h"
#include "pdf/PdfAutoPtrMgr.h"
#include "pdf/PdfDictionary.h"
#include "pdf/PdfName.h"
#include "pdf/PdfPtrList.h"
#include "pdf/PdfScalars.h"
#include "pdf/PdfString.h"
#include "pdf/PdfXref.h"

namespace {

// A number that counts the live instances, to see what containers delete.
struct TrackedNumber : PdfNumber {
    static int alive;
    TrackedNumber() : PdfNumber(7) { ++alive; }
    ~TrackedNumber() override { --alive; }
};
int TrackedNumber::alive = 0;

}  // namespace

TEST(PdfPtrListTest, KeepsOrderAndGrowsGeometrically) {
    PdfPtrList list;
    int a = 0, b = 0, c = 0;
    EXPECT_EQ(list.Find(&a), -1);  // no array yet
    EXPECT_TRUE(list.Add(&a));
    EXPECT_TRUE(list.Add(&c));
    EXPECT_TRUE(list.Insert(&b, 1));
    EXPECT_FALSE(list.Insert(&b, -1));
    EXPECT_FALSE(list.Insert(&b, 4));
    EXPECT_EQ(list.ItemAt(0), &a);
    EXPECT_EQ(list.ItemAt(1), &b);
    EXPECT_EQ(list.ItemAt(2), &c);
    EXPECT_EQ(list.ItemAt(3), nullptr);
    EXPECT_EQ(list.ItemAt(-1), nullptr);
    EXPECT_EQ(list.GetCapacity(), 20);
    EXPECT_TRUE(list.Remove(&b));
    EXPECT_FALSE(list.Remove(&b));
    EXPECT_EQ(list.RemoveAt(5), nullptr);
    EXPECT_EQ(list.RemoveAt(0), &a);
    EXPECT_EQ(list.ItemAt(0), &c);
    list.Clear();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetCapacity(), 20);

    // A million appends reallocate a few dozen times, not 50000 times.
    std::set<int> capacities;
    for (int i = 0; i < 1000000; ++i) {
        ASSERT_TRUE(list.Add(&a));
        capacities.insert(list.GetCapacity());
    }
    EXPECT_LT(capacities.size(), 20u);
    EXPECT_LT(list.GetCapacity(), 2 * 1000000 + 20);
    EXPECT_EQ(list.GetCount(), 1000000);
}

TEST(PdfObjectsTest, ClassesTypesAndScalarSyntax) {
    PdfNumber number(-42);
    EXPECT_EQ(Written(number), "-42");
    number.SetValue(3000000000LL);  // byte counts beyond 2 GiB stay exact
    EXPECT_EQ(Written(number), "3000000000");
    PdfBoolean yes(true), no(false);
    EXPECT_EQ(Written(yes), "true");
    EXPECT_EQ(Written(no), "false");
    PdfReal real(0.5);
    EXPECT_EQ(Written(real), "0.5");
    PdfVirtualObject reference(12);
    EXPECT_EQ(Written(reference), "12 0 R");

    EXPECT_EQ(number.GetClass(), PdfObjectClass::Direct);
    EXPECT_FALSE(number.IsOwned());
    EXPECT_EQ(reference.GetClass(), PdfObjectClass::Virtual);
    EXPECT_TRUE(reference.IsOwned());

    // Only an indirect object has a frame.
    StringSink direct;
    number.WriteObject(direct);
    EXPECT_EQ(direct.data, "");
    PdfXref xref;
    auto* catalog = new PdfDictionary(&xref);
    EXPECT_EQ(xref.AddObject(catalog), 1);
    EXPECT_EQ(catalog->GetClass(), PdfObjectClass::Indirect);
    catalog->SetTypeName("Catalog");
    catalog->AddElement("Pages", new PdfVirtualObject(2));
    StringSink framed;
    catalog->WriteObject(framed);
    EXPECT_EQ(framed.data, "1 0 obj\r\n<<\r\n/Type /Catalog\r\n/Pages 2 0 R\r\n>>\r\nendobj\r\n");
}

TEST(PdfObjectsTest, RealWriter) {
    EXPECT_EQ(WrittenReal(255.0 / 255.0), "1");
    EXPECT_EQ(WrittenReal(0.1), "0.1");
    EXPECT_EQ(WrittenReal(0.5), "0.5");
    EXPECT_EQ(WrittenReal(793), "793");
    EXPECT_EQ(WrittenReal(100), "100");
    EXPECT_EQ(WrittenReal(12.345678), "12.34568");
    EXPECT_EQ(WrittenReal(128.0 / 255.0), "0.50196");
    EXPECT_EQ(WrittenReal(0), "0");
    EXPECT_EQ(WrittenReal(-0.000001), "-0");
    EXPECT_EQ(WrittenReal(0.000004), "0");
    EXPECT_EQ(WrittenReal(32767), "32767");
    EXPECT_EQ(WrittenReal(-32767), "-32767");
    EXPECT_EQ(WrittenReal(-1.25), "-1.25");
    EXPECT_EQ(CatchPdf([] { WrittenReal(32767.5); }),
              PdfError(-4, "error: operator<<(const double d)[32767.500000]\n."));
    EXPECT_EQ(CatchPdf([] { WrittenReal(-40000); }),
              PdfError(-4, "error: operator<<(const double d)[-40000.000000]\n."));
    // NaN and infinity would write words no reader understands.
    EXPECT_EQ(CatchPdf([] { WrittenReal(std::nan("")); }).first, -4);
    EXPECT_EQ(CatchPdf([] { WrittenReal(INFINITY); }).first, -4);

    StringSink chained;
    chained << 1 << ' ' << 2u << ' ' << int64_t{10000000000} << ' ' << 'x' << "yz";
    EXPECT_EQ(chained.data, "1 2 10000000000 xyz");
    EXPECT_EQ(chained.GetSize(), 19);
}

TEST(PdfObjectsTest, NameSyntaxAndLimit) {
    PdfName name("A B");
    EXPECT_EQ(Written(name), "/A#20B");
    name.SetValue("(Unnamed)");
    EXPECT_EQ(Written(name), "/#28Unnamed#29");
    name.SetValue("\\%#/()<>[]{}\x7F\xFF~!");
    EXPECT_EQ(Written(name), "/#5C#25#23#2F#28#29#3C#3E#5B#5D#7B#7D#7F#FF~!");
    name.SetValue(nullptr);
    EXPECT_EQ(Written(name), "/");
    EXPECT_TRUE(name.EqualTo(""));

    std::string longName(200, 'n');
    name.SetValue(longName.c_str());
    EXPECT_EQ(std::string(name.GetValue()), std::string(127, 'n'));
    EXPECT_EQ(Written(name), "/" + std::string(127, 'n'));
    EXPECT_TRUE(name.EqualTo(longName.c_str()));
    EXPECT_FALSE(name.EqualTo(std::string(126, 'n').c_str()));
    // The longest name with every byte escaped still fits the buffer.
    std::string spaces(200, ' ');
    name.SetValue(spaces.c_str());
    std::string expected = "/";
    for (int i = 0; i < 127; ++i)
        expected += "#20";
    EXPECT_EQ(Written(name), expected);
}

TEST(PdfObjectsTest, LiteralAndHexStrings) {
    PdfText text("A B");
    EXPECT_EQ(Written(text), "(A\\040B)");
    text.SetValue("a(b)");
    EXPECT_EQ(Written(text), "(a\\050b\\051)");
    text.SetValue("\\%#/<>[]{}\t\n\x7F\xFF~");
    EXPECT_EQ(Written(text),
              "(\\134\\045\\043\\057\\074\\076\\133\\135\\173\\175\\011\\012\\177\\377~)");
    text.SetValue("");
    EXPECT_EQ(text.GetValue(), nullptr);
    EXPECT_EQ(Written(text), "()");
    text.SetValue(nullptr);
    EXPECT_EQ(Written(text), "()");

    // Cut to 65535 bytes; escapes cross the internal buffer boundary.
    std::string big(70000, 'x');
    for (size_t i = 0; i < big.size(); i += 3)
        big[i] = ' ';
    text.SetValue(big.c_str());
    EXPECT_EQ(text.GetLength(), 65535u);
    std::string expected = "(";
    for (size_t i = 0; i < 65535; ++i)
        expected += big[i] == ' ' ? "\\040" : "x";
    EXPECT_EQ(Written(text), expected + ")");

    PdfBinary binary;
    EXPECT_EQ(Written(binary), "<>");
    const unsigned char bytes[] = {0x00, 0x0F, 0xA5, 0xFF};
    binary.SetData(bytes, sizeof(bytes));
    EXPECT_EQ(Written(binary), "<000FA5FF>");
    std::string many(1000, '\xAB');  // longer than the internal buffer
    binary.SetData(many.data(), many.size());
    std::string hex;
    for (int i = 0; i < 1000; ++i)
        hex += "AB";
    EXPECT_EQ(Written(binary), "<" + hex + ">");
}

TEST(PdfArrayTest, ItemsReferencesAndSyntax) {
    PdfXref xref;
    auto* page = new PdfDictionary(&xref);
    int pageId = xref.AddObject(page);
    PdfArray array(&xref);
    EXPECT_EQ(Written(array), "[]");
    array.Add(nullptr);
    EXPECT_EQ(array.GetCount(), 0);
    array.AddRect(0, 0, 793, 612);
    EXPECT_EQ(Written(array), "[0 0 793 612 ]");
    array.Add(page);
    array.Insert(new PdfNumber(5), 0);
    EXPECT_EQ(Written(array), "[5 0 0 793 612 1 0 R ]");
    EXPECT_EQ(array.GetItem(5), page);  // references resolve through the table
    EXPECT_EQ(array.GetItem(-1), nullptr);
    EXPECT_EQ(array.GetItem(6), nullptr);
    EXPECT_EQ(array.GetItemAsReal(0), 5.0);
    EXPECT_EQ(array.GetItemAsReal(3), 793.0);
    EXPECT_EQ(array.GetItemAsReal(5), 0.0);
    EXPECT_EQ(array.GetItemAsReal(9), 0.0);
    EXPECT_EQ(array.GetItem(0)->GetId(), PdfObject::kOwnedId);
    EXPECT_EQ(page->GetId(), pageId);

    PdfArray unbound(nullptr);
    unbound.Add(page);
    unbound.Add(new PdfVirtualObject(1));  // a reference is taken as it is
    EXPECT_EQ(unbound.GetItem(0), nullptr);  // no table to resolve with
    EXPECT_EQ(Written(unbound), "[1 0 R 1 0 R ]");

    // An item that turned indirect behind the array's back is reported.
    auto* odd = new PdfNumber(1);
    unbound.Add(odd);
    odd->SetId(9);
    PdfError error = CatchPdf([&] { unbound.GetItem(2); });
    EXPECT_EQ(error.first, -4);
    EXPECT_EQ(error.second.rfind("ERROR: PdfArray::GetItem[2] unknown object at[", 0), 0u);
    odd->SetId(PdfObject::kOwnedId);

    array.Clear();
    EXPECT_EQ(array.GetCount(), 0);
    EXPECT_EQ(Written(array), "[]");
}

TEST(PdfArrayTest, LimitsTakeTheObjectOver) {
    const PdfError overLimit(-5, "ERROR: PdfArray::Add --number of items is over [22000].\n");
    PdfArray array(nullptr);
    EXPECT_EQ(CatchPdf([&] { array.Insert(new TrackedNumber, -1); }), overLimit);
    EXPECT_EQ(CatchPdf([&] { array.Insert(new TrackedNumber, 1); }), overLimit);
    EXPECT_EQ(TrackedNumber::alive, 0);
    for (int i = 0; i < PdfArray::kMaxItems; ++i)
        array.Add(new TrackedNumber);
    EXPECT_EQ(array.GetCount(), 22000);
    EXPECT_EQ(CatchPdf([&] { array.Add(new TrackedNumber); }), overLimit);
    EXPECT_EQ(CatchPdf([&] { array.Insert(new TrackedNumber, 3); }), overLimit);
    EXPECT_EQ(TrackedNumber::alive, 22000);
    array.Clear();
    EXPECT_EQ(TrackedNumber::alive, 0);

    // An object owned elsewhere is refused and stays with its owner.
    PdfArray other(nullptr);
    auto* shared = new TrackedNumber;
    other.Add(shared);
    EXPECT_EQ(CatchPdf([&] { array.Add(shared); }),
              PdfError(-5, "this object(id=0) is owned by another object."));
    EXPECT_EQ(TrackedNumber::alive, 1);
    EXPECT_EQ(array.GetCount(), 0);
}

TEST(PdfDictionaryTest, ElementsOrderAndReplacement) {
    PdfXref xref;
    auto* info = new PdfDictionary(&xref);
    xref.AddObject(info);
    PdfDictionary dictionary(&xref);
    EXPECT_EQ(Written(dictionary), "<<\r\n>>");
    dictionary.SetTypeName("Page");
    dictionary.AddElement("Info", info);
    auto* replaced = new TrackedNumber;
    dictionary.AddElement("N", replaced);
    dictionary.AddElement("Key With Space", new PdfBoolean(true));
    EXPECT_EQ(Written(dictionary),
              "<<\r\n/Type /Page\r\n/Info 1 0 R\r\n/N 7\r\n/Key#20With#20Space true\r\n>>");
    EXPECT_EQ(dictionary.GetElement("Info"), info);
    EXPECT_EQ(dictionary.FindElement("Info")->GetValue()->GetClass(), PdfObjectClass::Virtual);
    EXPECT_EQ(dictionary.GetElement("Missing"), nullptr);

    // Re-adding a key destroys the old value and moves the key last.
    dictionary.AddElement("Type", new PdfName("Pages"));
    dictionary.AddElement("N", new PdfReal(2.5));
    EXPECT_EQ(TrackedNumber::alive, 0);
    EXPECT_EQ(Written(dictionary),
              "<<\r\n/Info 1 0 R\r\n/Key#20With#20Space true\r\n/Type /Pages\r\n/N 2.5\r\n>>");
    dictionary.RemoveElement("Info");
    dictionary.RemoveElement("Missing");
    EXPECT_EQ(dictionary.GetCount(), 3);

    // One indirect object in two dictionaries: a reference in each.
    PdfDictionary second(&xref);
    second.AddElement("Info", info);
    dictionary.AddElement("Info", info);
    EXPECT_EQ(Written(second), "<<\r\n/Info 1 0 R\r\n>>");
    EXPECT_EQ(xref.GetCount(), 2);

    PdfDictionary unbound(nullptr);
    unbound.AddElement("Info", info);
    EXPECT_EQ(unbound.GetElement("Info"), nullptr);
}

TEST(PdfDictionaryTest, LimitsAndOwnership) {
    PdfXref xref;
    auto* indirect = new PdfNumber(1);
    xref.AddObject(indirect);
    PdfDictionary dictionary(&xref);
    char key[16];
    for (int i = 0; i < PdfDictionary::kMaxElements; ++i) {
        std::snprintf(key, sizeof(key), "K%d", i);
        dictionary.AddElement(key, new PdfNumber(i));
    }
    const PdfError overLimit(-5, "ERROR: PdfDictionary::AddElement --number of items is over [4095].\n");
    EXPECT_EQ(CatchPdf([&] { dictionary.AddElement("New", new TrackedNumber); }), overLimit);
    EXPECT_EQ(TrackedNumber::alive, 0);
    EXPECT_EQ(CatchPdf([&] { dictionary.AddElement("New", indirect); }), overLimit);
    EXPECT_EQ(xref.GetObject(1), indirect);  // indirect objects are never deleted
    EXPECT_EQ(dictionary.GetCount(), 4095);

    // An object another container owns is refused and left where it is; the
    // message names the receiving dictionary's id.
    PdfDictionary owner(nullptr);
    auto* shared = new TrackedNumber;
    owner.AddElement("X", shared);
    auto* target = new PdfDictionary(&xref);
    xref.AddObject(target);
    target->AddElement("X", new PdfNumber(1));
    EXPECT_EQ(CatchPdf([&] { target->AddElement("X", shared); }),
              PdfError(-5, "this object(id=2) is owned by another object."));
    EXPECT_EQ(owner.GetElement("X"), shared);
    EXPECT_NE(target->GetElement("X"), nullptr);  // the old value survives
    // Re-adding the value a key already holds changes nothing.
    PdfObject* current = target->GetElement("X");
    EXPECT_EQ(CatchPdf([&] { target->AddElement("X", current); }).first, -5);
    EXPECT_EQ(target->GetElement("X"), current);
}

namespace {

struct Auxiliary : PdfAutoPtrObject {
    static int alive;
    int hooks = 0;
    Auxiliary() { ++alive; }
    ~Auxiliary() override { --alive; }
    void OnRegistered() override { ++hooks; }
};
int Auxiliary::alive = 0;

}  // namespace

TEST(PdfAutoPtrMgrTest, RegistersOnceAndDeletesWithTheRegistry) {
    auto* first = new Auxiliary;
    auto* second = new Auxiliary;
    {
        PdfAutoPtrMgr registry;
        registry.RegisterObject(first);
        registry.RegisterObject(first);
        registry.RegisterObject(second);
        registry.RegisterObject(nullptr);
        EXPECT_EQ(first->hooks, 1);
        EXPECT_EQ(first->GetOwner(), &registry);
        EXPECT_EQ(registry.GetCount(), 2);

        PdfAutoPtrMgr other;
        try {
            other.RegisterObject(first);
            ADD_FAILURE() << "no exception";
        } catch (PdfException* e) {
            EXPECT_EQ(e->GetCode(), -5);
            EXPECT_STREQ(e->what(), "ERROR:PdfAutoPtrMgr::RegisterObject this object owned by other object.");
            delete e;
        }
        EXPECT_EQ(first->GetOwner(), &registry);
        EXPECT_EQ(other.GetCount(), 0);
        EXPECT_EQ(Auxiliary::alive, 2);
    }
    EXPECT_EQ(Auxiliary::alive, 0);
}

TEST(PdfExceptionTest, FormatsAndCutsTheMessage) {
    PdfException short_(-6, "ERROR: SetRGBFill out of range(%f:%f:%f).", 256 / 255.0, 0.0, 1.0);
    EXPECT_STREQ(short_.what(), "ERROR: SetRGBFill out of range(1.003922:0.000000:1.000000).");
    EXPECT_EQ(short_.GetCode(), -6);
    std::string longText(600, 'z');
    PdfException cut(-5, "%s", longText.c_str());
    EXPECT_EQ(std::string(cut.what()), std::string(511, 'z'));
}
