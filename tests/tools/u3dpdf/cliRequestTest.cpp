// u3dpdf request: a request file reaches the module as written, and the
// module consumes the U3D file it names.
#include "cliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

// A request names the U3D file and the output; the conversion consumes the
// file and writes a PDF that embeds it.
void expectConvertedAndConsumed(const fs::path& request, const fs::path& cwd, const fs::path& out) {
    const cliResultS run = runCliWith({{"request", request}, cwd, {}, {}});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out + run.err, "");
    EXPECT_EQ(directoryListing(out.parent_path()), out.filename().string());
    if (qpdfAvailable()) {
        ASSERT_TRUE(qpdfAccepts(out));
        EXPECT_TRUE(embeddedModel(out) == readFile(testData("torus.u3d")));
    }
}

TEST(CliRequestTest, RequestsConvertAndConsumeTheirModel) {
    // The example's paths are relative: they are taken from the working
    // directory.
    scratchDirS dir("request");
    fs::create_directory(dir / "out");
    fs::copy_file(testData("torus.u3d"), dir / "out" / "request.u3d");
    expectConvertedAndConsumed(U3DPDF_EXAMPLE_REQUEST, dir.path, dir / "out" / "request.pdf");

    fs::create_directory(dir / "own");
    fs::copy_file(testData("torus.u3d"), dir / "own" / "t.u3d");
    writeFile(dir / "request.txt", "R{INPUTDATA{X{U3DBOXMAX{4,4,1},FILENAME{\"" + (dir / "own" / "t.u3d").string() +
                                       "\"}U3DBOXMIN{-4,-4,-1}}}OUTPUTLOCATION{\"" +
                                       (dir / "own" / "t.pdf").string() + "\"}}");
    expectConvertedAndConsumed(dir / "request.txt", {}, dir / "own" / "t.pdf");
    U3DPDF_SKIP_WITHOUT_QPDF();
}

TEST(CliRequestTest, AFailedRequestExitsOneWithTheModulesReasonAndKeepsItsModel) {
    scratchDirS dir("requestfail");
    fs::copy_file(testData("box.u3d"), dir / "model.u3d");
    const std::string record = "INPUTDATA{MODEL{FILENAME{\"model.u3d\"},U3DBOXMIN{0,0,0},U3DBOXMAX{1,1,1}}}";
    const struct {
        std::string request;
        const char* reason;
    } failures[] = {
        {"REQUEST{OUTPUTLOCATION{\"missing/out.pdf\"}," + record + "}",
         "cannot write missing/out.pdf: the directory missing does not exist"},
        // The writer's own failure, in the system's words.
        {"REQUEST{OUTPUTLOCATION{\".\"}," + record + "}", "cannot write .: Is a directory"},
        {"REQUEST{OUTPUTLOCATION{\"out.pdf\"}}",
         "the request names no U3D file: INPUTDATA has no record with a FILENAME text"},
        {"REQUEST{OUTPUTLOCATION{\"out.pdf\"},INPUTDATA{MODEL{FILENAME{\"absent.u3d\"}}}}",
         "cannot read the U3D file absent.u3d: No such file or directory"},
        {"REQUEST{OUTPUTLOCATION{\"out.pdf\"},CUSTOMDATA{ENTRIES{ENTRY{KEY{\"CenterView\"},TEXT{\"centre\"}}}}," +
             record + "}",
         "the custom entry CenterView does not take \"centre\": use On or Off"},
    };
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.request);
        writeFile(dir / "request.txt", failure.request);
        const cliResultS run = runCliWith({{"request", "request.txt"}, dir.path, {}, {}});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, std::string("u3dpdf: the module could not convert the request in request.txt: ") +
                               failure.reason + "\n");
        EXPECT_EQ(directoryListing(dir.path), "model.u3d request.txt");
    }
}

TEST(CliRequestTest, FilesThatDoNotParseExitTwoWithTheReadersMessage) {
    scratchDirS dir("requestparse");
    fs::copy_file(testData("box.u3d"), dir / "model.u3d");
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"REQUEST{\n  OUTPUTLOCATION{\"out.pdf\"}\n  INPUTDATA{MODEL{FILENAME{\"model.u3d\"}}} ;\n}",
         "Line:3 - ill seperator char"},
        {"REQUEST{\n  INPUTDATA{MODEL{FILENAME{\"model.u3d\"}\n", "Line:3 - section count wrong"},
        {"REQUEST{U3DBOXMIN{1.5.2}}", "Line:1 - value invalid :1.5.2"},
    };
    for (const auto& c : cases) {
        writeFile(dir / "request.txt", c.text);
        const cliResultS run = runCliWith({{"request", "request.txt"}, dir.path, {}, {}});
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, std::string("u3dpdf: request.txt: ") + c.error + "\n");
        EXPECT_EQ(directoryListing(dir.path), "model.u3d request.txt");
    }
    // Nothing to read, and nothing in what was read.
    cliResultS run = runCliWith({{"request", "absent.txt"}, dir.path, {}, {}});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "u3dpdf: cannot read absent.txt\n");
    writeFile(dir / "request.txt", " \n");
    run = runCliWith({{"request", "request.txt"}, dir.path, {}, {}});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "u3dpdf: request.txt holds no request tree\n");
}

}  // namespace
