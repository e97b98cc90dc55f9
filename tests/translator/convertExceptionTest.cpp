// A conversion that fails before its guarded sequence (the document object
// cannot be allocated) reaches the host as an exception, after the log has
// recorded it and gone to disk.
#include "metatree/metaTree.h"
#include "runtime/diag/codeTrack.h"
#include "translator/conversionLog.h"
#include "translator/translatorEntryPoints.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <new>
#include <string>

// The document is the first object of a conversion that comes from the
// global operator new (tree nodes and strings have their own); this test
// program's operators can be told to refuse the next request.
namespace {
bool g_failNextAllocation = false;
}

void* operator new(size_t n) {
    if (g_failNextAllocation) {
        g_failNextAllocation = false;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new(size_t n, const std::nothrow_t&) noexcept { return std::malloc(n ? n : 1); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

TEST(ConvertExceptionTest, FailureBeforeTheDocumentExistsPropagatesAfterItsRecord) {
    const std::filesystem::path log =
        std::filesystem::temp_directory_path() / ("u3dpdf_exception_" + std::to_string(::getpid()) + ".txt");
    std::filesystem::remove(log);
    codeTrackStartup();
    codeTrackSetPath(log.string().c_str());

    std::unique_ptr<metaTreeC> request(createKeyNode("REQUEST"));
    const uint32_t counter = translator::convertCallCounter();
    g_failNextAllocation = true;
    EXPECT_THROW(translator::convertMetaTree(request.get(), 0), std::bad_alloc);
    EXPECT_EQ(translator::convertCallCounter(), counter + 2);

    // The exception record forced the write: the frame's opening, then the
    // exception in place of its closing.
    std::ifstream in(log);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    // Windows does not remove a file that is still open.
    in.close();
    const std::string frame = std::string(";") + kConversionSourceFile + ";123;";
    const size_t enter = text.find(frame + "Frame Enter(convertMetaTree(data, fncPointer))\n");
    const size_t exception = text.find(frame + "Exception\n");
    EXPECT_NE(enter, std::string::npos) << text;
    EXPECT_NE(exception, std::string::npos) << text;
    EXPECT_LT(enter, exception);
    EXPECT_EQ(text.find("Frame Leave"), std::string::npos) << text;
    EXPECT_EQ(text.find("START Try Block"), std::string::npos) << text;

    codeTrackShutdown();
    std::filesystem::remove(log);
}

}  // namespace
