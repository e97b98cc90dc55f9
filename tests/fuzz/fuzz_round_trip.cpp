// Load, save, load, save: a text that loads must save; the saved text must
// load again to an equal tree and save to the same text, in both layouts.
// Right after a save every checksum that it could store holds, in the saved
// tree and in the tree read back.
//
// Numbers compare as the 14 digits the text form keeps. Below a reference
// entry ("MOREF") the loaded trees hold node addresses, which differ between
// two loads; the equal saved texts check those entries instead.
#include "metatree/metaObjectCRC.h"
#include "metatree/metaTreeTextReader.h"
#include "metatree/metaTreeTextSave.h"
#include "metatree/treeWalk.h"
#include "support/trees/treeCompare.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void fault(const char* what, const std::string& detail) {
    std::fprintf(stderr, "round trip: %s %s\n", what, detail.c_str());
    std::abort();
}

// Whether the save could store the checksum: it has something to cover and
// an integer "CRCVALUE" (a value of another kind is left as it is).
bool storable(metaTreeC* entry) {
    metaObjectCRCC crc(entry);
    uint32_t value = 0;
    int found = 0;
    metaObjectC(crc.findChild("CRCVALUE")).getInteger(&found);
    return crc.compute(value) && found;
}

// saved and loaded have the same shape (compared before).
void checkChecksums(metaTreeC* saved, metaTreeC* loaded) {
    preOrderWalkT<metaTreeC> a(saved, -1, false);
    preOrderWalkT<metaTreeC> b(loaded, -1, false);
    for (; a.node() && b.node(); a.advance(), b.advance()) {
        if (!a.node()->isKey("MOCRC") || !storable(a.node()))
            continue;
        if (metaObjectCRCC(a.node()).verify() != 1)
            fault("a checksum does not hold right after the save", "");
        if (metaObjectCRCC(b.node()).verify() != 1)
            fault("a saved checksum does not hold after loading", "");
    }
}

void roundTrip(const metaObjectC& tree, bool pretty) {
    const str first = saveTreeAsString(tree, false, pretty);
    if (first.length() == 0)
        fault("a loaded tree saved to nothing", "");
    metaTreeTextReaderC reader;
    metaObjectC again = reader.loadTreeFromString(first.text(), true);
    if (!again.valid())
        fault("saved text does not load:", reader.errorText().text());
    const std::string difference = treeDifference(tree.node(), again.node(), numberMatchE::asWritten, "MOREF");
    if (!difference.empty())
        fault("reloaded tree differs at", difference);
    checkChecksums(tree.node(), again.node());
    const str second = saveTreeAsString(again, false, pretty);
    if (second != first)
        fault("second save differs:", std::string(first.text()) + "\n---\n" + second.text());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    metaTreeTextReaderC reader;
    metaObjectC tree = reader.loadTreeFromString(text.c_str(), true);
    if (!tree.valid())
        return 0;
    roundTrip(tree, false);
    roundTrip(tree, true);
    return 0;
}
