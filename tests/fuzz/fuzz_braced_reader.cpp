// Any bytes given to the braced reader: it must end with a tree or with an
// error and an empty handle, never crash, hang or leak. The bytes are read
// both as a text (up to a zero byte) and as a stream (all of them).
#include "metatree/metaTreeTextReader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void check(metaTreeTextReaderC& reader, const metaObjectC& tree) {
    if (reader.failed() == tree.valid())
        std::abort();  // exactly one of a tree and a failure
    if (reader.failed() && std::string(reader.errorText().text()).rfind("Line:", 0) != 0)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    metaTreeTextReaderC reader;
    const std::string text(reinterpret_cast<const char*>(data), size);
    {
        metaObjectC tree = reader.loadTreeFromString(text.c_str(), true);
        if (tree.valid() || reader.failed())
            check(reader, tree);
    }
    if (std::FILE* stream = fmemopen(const_cast<char*>(text.data()), size ? size : 1, "rb")) {
        if (size == 0)
            std::fgetc(stream);  // an empty stream: step past the stand-in byte
        metaObjectC tree = reader.loadTreeFromStream(stream, true);
        if (tree.valid() || reader.failed())
            check(reader, tree);
        std::fclose(stream);
    }
    return 0;
}
