// u3dpdf caps, and where u3dpdf finds the module when not told.
#include "cliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;

// The capability tree in the pretty braced form, the build date aside.
const char* const kCaps =
    "DLLIFACE{\n"
    "\tINFO{\n"
    "\t\tNAME{\n\t\t\t\"U3D Translator\"\n\t\t}\n"
    "\t\tVERSION{\n\t\t\t\"V1.0\"\n\t\t}\n"
    "\t\tDESC{\n\t\t\t\"U3D Translator DLL\"\n\t\t}\n"
    "\t\tDATE{\n\t\t\t\"<date>\"\n\t\t}\n"
    "\t}\n"
    "\tIOPAIRS{\n"
    "\t\tIOPAIR{\n"
    "\t\t\tINFMT{\n"
    "\t\t\t\tFILEEXT{\n\t\t\t\t\t\"u3d\"\n\t\t\t\t}\n"
    "\t\t\t\tNAME{\n\t\t\t\t\t\"U3DMETA\"\n\t\t\t\t}\n"
    "\t\t\t\tINMODE{\n\t\t\t\t\t2\n\t\t\t\t}\n"
    "\t\t\t}\n"
    "\t\t\tOUTFMTS{\n"
    "\t\t\t\tOUTFMT{\n"
    "\t\t\t\t\tGROUP{\n\t\t\t\t\t\t\"MESH\"\n\t\t\t\t\t}\n"
    "\t\t\t\t\tNAME{\n\t\t\t\t\t\t\"PDF\"\n\t\t\t\t\t}\n"
    "\t\t\t\t\tDESC{\n\t\t\t\t\t\t\"PDF (U3D)\"\n\t\t\t\t\t}\n"
    "\t\t\t\t\tOUTMODE{\n\t\t\t\t\t\t0\n\t\t\t\t\t}\n"
    "\t\t\t\t\tFILEEXT{\n\t\t\t\t\t\t\"pdf\"\n\t\t\t\t\t}\n"
    "\t\t\t\t\tTOOLBARBMP{\n\t\t\t\t\t\t\"pdf.bmp\"\n\t\t\t\t\t}\n"
    "\t\t\t\t\tVERSIONSDESC{\n\t\t\t\t\t\t\"Adobe Acrobat Reader 7.0.8\"\n\t\t\t\t\t}\n"
    "\t\t\t\t\tVERSIONS{\n\t\t\t\t\t\t\"7\"\n\t\t\t\t\t}\n"
    "\t\t\t\t}\n"
    "\t\t\t}\n"
    "\t\t}\n"
    "\t}\n"
    "}\n";

TEST(CliCapsTest, PrintsTheCapabilityTreeInThePrettyForm) {
    const cliResultS run = runCli({"caps"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    // "Mmm dd yyyy" (a blank before a one-digit day), ":", "hh:mm:ss".
    const std::regex date("\"(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [ 123][0-9] [0-9]{4}"
                          ":[0-2][0-9]:[0-5][0-9]:[0-6][0-9]\"");
    std::smatch found;
    ASSERT_TRUE(std::regex_search(run.out, found, date)) << run.out;
    EXPECT_EQ(run.out.substr(0, found.position()) + "\"<date>\"" + run.out.substr(found.position() + found.length()),
              kCaps);
}

// The order the help gives: beside the executable, then where `cmake
// --install` puts the module (../lib/u3dpdf), then the build tree it was
// built in. The first file found is the one loaded.
TEST(CliCapsTest, FindsTheModuleBesideThenInstalledThenInTheBuildTree) {
    scratchDirS dir("locate");
    const fs::path bin = dir / "bin";
    const fs::path installed = (bin / U3DPDF_INSTALLED_MODULE_DIR).lexically_normal();
    fs::create_directories(bin);
    fs::create_directories(installed);
    const fs::path exe = bin / "u3dpdf";
    fs::copy_file(U3DPDF_CLI, exe);

    // Outside the build tree, with no module anywhere.
    cliResultS run = runCliWith({{"caps"}, {}, {}, exe});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(oneErrorLine(run.err));
    EXPECT_EQ(run.err.rfind("u3dpdf: no libu3dpdf.so found (looked at " + (bin / "libu3dpdf.so").string() + ", " +
                                (installed / "libu3dpdf.so").string() + ", ",
                            0),
              0u)
        << run.err;

    fs::copy_file(U3DPDF_MODULE_PATH, installed / "libu3dpdf.so");
    EXPECT_EQ(runCliWith({{"caps"}, {}, {}, exe}).status, 0);

    writeFile(bin / "libu3dpdf.so", "not a library");
    run = runCliWith({{"caps"}, {}, {}, exe});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find((bin / "libu3dpdf.so").string()), std::string::npos) << run.err;

    // A link to the built executable finds the build tree's module.
    fs::create_symlink(U3DPDF_CLI, dir / "linked");
    EXPECT_EQ(runCliWith({{"caps"}, {}, {}, dir / "linked"}).status, 0);
}

}  // namespace
