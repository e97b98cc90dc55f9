// Whole conversions of fuzzed requests. The input is one flag byte and a
// braced request text; a text that loads is converted as it is, except that
// every path in it is moved into a private directory, so no input reaches
// a file outside it:
//   - a non-empty FILENAME text names a small model file written there;
//   - a non-empty OUTPUTLOCATION text names a PDF there, or the directory
//     itself when the text ends with '/' (a conversion that must fail);
//   - empty texts, and values of other kinds, stay as they are.
// The box corners stay as the text wrote them (the reader refuses non-finite
// number words); the flag byte can turn one corner into NaN or an infinity.
//
// Every conversion returns 0 or 1 and leaves the directory as the result
// says: only a complete PDF after 1, only the model file (if one was
// written) after 0. After 0 the request's CUSTOMDATA/ENTRIES ends in one
// new ErrorMessage entry whose reason is one non-empty line; after 1 the
// list is as long as before. Nothing is caught here: an exception that leaves the
// conversion is a finding, since these small requests cannot exhaust memory
// before the conversion's guard.
#include "metatree/metaObject.h"
#include "metatree/metaTree.h"
#include "metatree/metaTreeTextReader.h"
#include "metatree/treeWalk.h"
#include "translator/translatorEntryPoints.h"

#include <strings.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

[[noreturn]] void fault(const char* what, const std::string& detail) {
    std::fprintf(stderr, "convert: %s %s\n", what, detail.c_str());
    std::abort();
}

// A private directory for one input, made empty and removed afterwards:
// libFuzzer ends its runs without calling exit handlers, so a directory kept
// for the whole process would outlive every run.
class workDirC {
public:
    workDirC() {
        std::string pattern = (fs::temp_directory_path() / "u3dpdf_fuzz_convert_XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            fault("cannot make the work directory", pattern);
        path_ = pattern;
    }
    ~workDirC() { fs::remove_all(path_); }
    workDirC(const workDirC&) = delete;
    workDirC& operator=(const workDirC&) = delete;

    const fs::path& path() const { return path_; }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        return names;
    }

private:
    fs::path path_;
};

// Flag byte: the low two bits choose nothing, NaN, +inf or -inf; the next
// three choose the coordinate (0-2 of U3DBOXMIN, 3-5 of U3DBOXMAX).
double cornerValue(uint8_t flags) {
    switch (flags & 3) {
        case 1: return std::numeric_limits<double>::quiet_NaN();
        case 2: return std::numeric_limits<double>::infinity();
        default: return -std::numeric_limits<double>::infinity();
    }
}

// Sets the coordinate where the driver reads it: the first child of
// INPUTDATA, when the vector there holds a number at that place.
void breakCorner(metaTreeC* root, uint8_t flags) {
    if ((flags & 3) == 0)
        return;
    const int index = ((flags >> 2) & 7) % 6;
    const metaTreeC* inputData = metaObjectC(root).findChild("INPUTDATA");
    if (!inputData || !inputData->firstChild)
        return;
    metaObjectC record(inputData->firstChild);
    metaObjectC corner(record.findChild(index < 3 ? "U3DBOXMIN" : "U3DBOXMAX"));
    metaObjectC(corner.childAt(index % 3)).setOwnDouble(cornerValue(flags));
}

// The first child when it is a non-empty text, which the driver would use
// as a path.
metaTreeC* pathValue(metaTreeC* entry) {
    metaTreeC* value = entry->firstChild;
    if (value && value->value.kind() == MV_STRING && value->value.text().length() > 0)
        return value;
    return nullptr;
}

struct rewriteS {
    bool modelWritten = false;
};

// Keys are compared without case, so that whatever form the driver's lookup
// accepts, no path escapes the work directory.
rewriteS redirectPaths(metaTreeC* root, const fs::path& dir, const uint8_t* model, size_t modelSize) {
    rewriteS result;
    const fs::path u3d = dir / "model.u3d";
    const fs::path pdf = dir / "out.pdf";
    for (preOrderWalkT<metaTreeC> walk(root, -1, false); walk.node(); walk.advance()) {
        metaTreeC* node = walk.node();
        if (node->value.kind() != MV_KEY)
            continue;
        const char* key = node->value.text().text();
        const bool isModel = ::strcasecmp(key, "FILENAME") == 0;
        if (!isModel && ::strcasecmp(key, "OUTPUTLOCATION") != 0)
            continue;
        metaTreeC* value = pathValue(node);
        if (!value)
            continue;
        if (isModel) {
            metaObjectC(node).setString(u3d.c_str());
            result.modelWritten = true;
        } else {
            const str& text = value->value.text();
            const bool directory = text.text()[text.length() - 1] == '/';
            metaObjectC(node).setString(directory ? (dir.string() + "/").c_str() : pdf.c_str());
        }
    }
    if (result.modelWritten) {
        std::ofstream out(u3d, std::ios::binary);
        out.write("U3D\0", 4);
        out.write(reinterpret_cast<const char*>(model), static_cast<std::streamsize>(modelSize));
    }
    return result;
}

void checkPdf(const fs::path& pdf) {
    std::ifstream in(pdf, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string end = "%%EOF\r\n";
    if (bytes.rfind("%PDF-", 0) != 0 || bytes.size() < end.size() ||
        bytes.compare(bytes.size() - end.size(), end.size(), end) != 0)
        fault("incomplete PDF of", std::to_string(bytes.size()) + " bytes");
}

void checkLeftovers(const workDirC& dir, int result, bool modelWritten) {
    const std::vector<std::string> names = dir.entries();
    std::string listing;
    for (const auto& name : names)
        listing += name + " ";
    if (result == 1) {
        if (names.size() != 1 || names[0] != "out.pdf")
            fault("a successful conversion left:", listing);
        checkPdf(dir.path() / "out.pdf");
    } else if (result == 0) {
        const bool onlyModel = names.size() == 1 && names[0] == "model.u3d" && modelWritten;
        if (!names.empty() && !onlyModel)
            fault("a failed conversion left:", listing);
    } else {
        fault("result out of range:", std::to_string(result));
    }
}

// The list the module reports a failure in: the first ENTRIES under the
// first CUSTOMDATA, as its accessors find them; null while there is none.
metaTreeC* entryList(metaTreeC* root) {
    metaTreeC* customData = metaObjectC(root).findChild("CUSTOMDATA");
    return customData ? metaObjectC(customData).findChild("ENTRIES") : nullptr;
}

void checkReason(metaTreeC* root, int result, int32_t entriesBefore) {
    metaTreeC* list = entryList(root);
    const int32_t entries = list ? metaObjectC(list).childCount() : 0;
    if (result == 1) {
        if (entries != entriesBefore)
            fault("a successful conversion added entries:", std::to_string(entries - entriesBefore));
        return;
    }
    if (entries != entriesBefore + 1)
        fault("a failed conversion added entries:", std::to_string(entries - entriesBefore));
    metaObjectC entry(metaObjectC(list).childAt(entries - 1));
    int found = 0;
    const str& reason = metaObjectC(entry.findChild("TEXT")).getString(&found);
    if (!entry.isKey("ENTRY") || !metaObjectC(entry.findChild("KEY")).getString().equals("ErrorMessage") ||
        !found || reason.length() == 0)
        fault("a failed conversion gave no reason", "");
    for (const char* c = reason.text(); *c; ++c)
        if (static_cast<unsigned char>(*c) < 0x20)
            fault("a reason of more than one line:", reason.text());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint8_t flags = data[0];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    metaTreeTextReaderC reader;
    metaObjectC tree = reader.loadTreeFromString(text.c_str(), true);
    if (!tree.valid())
        return 0;

    const workDirC dir;
    breakCorner(tree.node(), flags);
    // The model's bytes: the head of the input, so runs differ in it too.
    const rewriteS rewrite = redirectPaths(tree.node(), dir.path(), data, size < 64 ? size : 64);
    metaTreeC* listBefore = entryList(tree.node());
    const int32_t entriesBefore = listBefore ? metaObjectC(listBefore).childCount() : 0;
    const int result = translator::convertMetaTree(tree.node(), 0);
    checkLeftovers(dir, result, rewrite.modelWritten);
    checkReason(tree.node(), result, entriesBefore);
    return 0;
}
