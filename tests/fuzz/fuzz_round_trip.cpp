// Load, save, load, save: a text that loads must save; the saved text must
// load again to an equal tree and save to the same text, in both layouts.
//
// Numbers compare as the 14 digits the text form keeps. Below a reference
// entry ("MOREF") the loaded trees hold node addresses, which differ between
// two loads; the equal saved texts check those entries instead.
//
// Two allowances for hooked entries in layouts they were not made for:
// - the values of checksums ("CRCVALUE") are left out of the comparison of
//   the saved texts: a checksum entry placed inside the records of other
//   hooked entries can cover what differs from load to load (the in-memory
//   address bytes of a reference) or what a later checksum of the same save
//   creates;
// - a reference inside another reference's record is saved as part of the
//   outer one's replacement, so it keeps its in-memory address in the text;
//   when there is one, the saved texts are not compared at all.
#include "metatree/metaTreeTextReader.h"
#include "metatree/metaTreeTextSave.h"
#include "metatree/treeWalk.h"
#include "treeCompare.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

[[noreturn]] void fault(const char* what, const std::string& detail) {
    std::fprintf(stderr, "round trip: %s %s\n", what, detail.c_str());
    std::abort();
}

// The text with every checksum value cut out: "CRCVALUE{}" stays.
std::string withoutChecksums(const char* text) {
    std::string out(text);
    const std::string marker = "CRCVALUE{";
    for (size_t at = out.find(marker); at != std::string::npos; at = out.find(marker, at + 1)) {
        const size_t from = at + marker.size();
        const size_t to = out.find_first_of("{}", from);
        out.erase(from, (to == std::string::npos ? out.size() : to) - from);
    }
    return out;
}

// Whether some reference entry lies below another one.
bool hasNestedReference(const metaTreeC* chain) {
    std::vector<bool> belowReference{false};  // by level
    preOrderWalkT<const metaTreeC> walk(chain, -1, false);
    for (; const metaTreeC* n = walk.node(); walk.advance()) {
        const size_t level = static_cast<size_t>(walk.level());
        belowReference.resize(level + 2);
        if (n->isKey("MOREF") && belowReference[level])
            return true;
        belowReference[level + 1] = belowReference[level] || n->isKey("MOREF");
    }
    return false;
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
    const str second = saveTreeAsString(again, false, pretty);
    if (withoutChecksums(second.text()) != withoutChecksums(first.text()) && !hasNestedReference(tree.node()))
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
