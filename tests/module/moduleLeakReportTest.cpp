// The leak report that the module writes when it is unloaded with
// QVMEMTRACK_LEAK set. The switches are read when the module loads, so each
// run is a host process of its own that converts, deletes its request trees
// and unloads the module.
//
// The code tracking log releases its buffers only after the allocator's
// report (it is the last service to go down), so the report lists whatever
// the log still holds. With QVCODETRACK_FLUSH the log writes and empties its
// ring after every record, which leaves it a fixed state: what the report
// shows beyond that state grows with every conversion that leaks.
#include "integration/moduleHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct leakRunS {
    std::string results;
    std::vector<std::string> report;  // its lines
};

// Converts box.u3d and sphere_shading.u3d the given number of times each,
// then fails one conversion (its output directory is missing) when asked.
leakRunS runHost(int conversions, bool failing) {
    scratchDirS dir("leak");
    const fs::path report = dir / "report.txt";
    const std::string scratch = dir.path.string();
    const std::vector<envChangeS> env = {
        {"QVMEMTRACK_TYPEINFO", {}}, {"QVMEMTRACK_LOCATION", {}}, {"QVCODETRACK", {}},
        {"TMPDIR", scratch}, {"TEMP", scratch}, {"TMP", scratch},
        {"QVCODETRACK_FLUSH", "1"}, {"QVMEMTRACK_LEAK", "1"}, {"QVMEMTRACK_OUTPUT", report.string()}};
    std::vector<std::string> args;
    const auto convert = [&](const fs::path& pdf, const char* model) {
        const fs::path u3d = dir.path / (std::to_string(args.size() / 2) + ".tmp.u3d");
        fs::copy_file(testData(model), u3d);
        args.push_back(pdf.string());
        args.push_back(u3d.string());
    };
    for (int i = 0; i < conversions; ++i) {
        convert(dir / "box.pdf", "box.u3d");
        convert(dir / "sphere.pdf", "sphere_shading.u3d");
    }
    if (failing)
        convert(dir / "missing" / "x.pdf", "box.u3d");

    const commandResultS run = runProgram(U3DPDF_INTEGRATION_HOST, args, env);
    EXPECT_EQ(run.status, 0) << U3DPDF_INTEGRATION_HOST;
    // The host prints its thread, then one result per conversion.
    leakRunS result;
    const std::vector<std::string> output = textLines(run.output);
    if (output.size() == 1 && output[0].find(' ') != std::string::npos)
        result.results = output[0].substr(output[0].find(' '));
    // The report file is written in text mode: CR LF on Windows.
    result.report = textLines(readFile(report));
    return result;
}

// The summary report, then the detail report, both of this module (in the
// same process); the number of blocks the detail report lists.
size_t expectReports(const leakRunS& run) {
    const std::regex module(" \\(Pid=([0-9]+)," U3DPDF_MODULE_FILE_NAME "\\)");
    std::smatch summary;
    EXPECT_FALSE(run.report.empty());
    if (run.report.empty() ||
        !std::regex_match(run.report.front(), summary, std::regex("QVMEMTRACK Summary Report(.*)")) ||
        !std::regex_match(summary[1].str(), module)) {
        ADD_FAILURE() << "no summary report of this module: " << (run.report.empty() ? "" : run.report.front());
        return 0;
    }
    const auto detail = std::find(run.report.begin(), run.report.end(),
                                  "QVMEMTRACK Detail Memory Report" + summary[1].str());
    EXPECT_NE(detail, run.report.end());
    if (detail == run.report.end())
        return 0;
    EXPECT_TRUE(std::regex_match(*(detail - 1), std::regex("OS  Bytes : [0-9]+"))) << *(detail - 1);
    EXPECT_TRUE(std::regex_match(*(detail - 2), std::regex("Mgr Bytes : [0-9]+"))) << *(detail - 2);
    size_t blocks = 0;
    for (auto line = detail + 1; line != run.report.end(); ++line) {
        EXPECT_TRUE(std::regex_match(*line, std::regex("Id +[0-9]+,(Parent +[0-9]+,)?Mem .*"))) << *line;
        ++blocks;
    }
    return blocks;
}

TEST(ModuleLeakReportTest, UnloadWithoutConversionReportsEmptyPools) {
    const leakRunS run = runHost(0, false);
    ASSERT_EQ(run.report.size(), 4u);
    EXPECT_EQ(expectReports(run), 0u);
    EXPECT_EQ(run.report[1], "Mgr Bytes : 0");
}

TEST(ModuleLeakReportTest, ConversionsLeaveNothingAliveBeyondTheLogsOwnState) {
    const leakRunS once = runHost(1, false);
    ASSERT_EQ(once.results, " 1 1");
    const leakRunS often = runHost(3, true);
    ASSERT_EQ(often.results, " 1 1 1 1 1 1 0");
    const size_t logState = expectReports(once);
    // Five more conversions, one of them through the driver's failure path,
    // and not one block more.
    EXPECT_EQ(expectReports(often), logState);
}

}  // namespace
