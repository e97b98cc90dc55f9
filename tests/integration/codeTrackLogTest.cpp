// The code tracking log of a conversion, as support finds it on disk. Its
// switches are read when the module loads, so every case runs the module in
// a host process of its own.
#include "moduleHost.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct hostRunS {
    std::string thread;  // the host's thread, which loaded the module
    std::string results;
};

// Runs the host with the log directory set (and nothing else of the
// environment that could redirect it) plus the given switches.
hostRunS runHost(const fs::path& logDir, const std::vector<envChangeS>& switches, const std::vector<fs::path>& args) {
    std::vector<envChangeS> env = {{"QVCODETRACK", {}}, {"QVCODETRACK_FLUSH", {}}, {"TEMP", {}},
                                   {"TMP", {}}, {"temp", logDir.string()}, {"tmp", logDir.string()}};
    env.insert(env.end(), switches.begin(), switches.end());
    std::vector<std::string> words;
    for (const fs::path& arg : args)
        words.push_back(arg.string());
    const commandResultS run = runProgram(U3DPDF_INTEGRATION_HOST, words, env);
    EXPECT_EQ(run.status, 0) << U3DPDF_INTEGRATION_HOST;
    // One line: the thread, then the results.
    const std::vector<std::string> lines = textLines(run.output);
    hostRunS result;
    if (lines.size() != 1) {
        ADD_FAILURE() << "host output: " << run.output;
        return result;
    }
    const size_t blank = lines[0].find(' ');
    result.thread = lines[0].substr(0, blank);
    result.results = blank == std::string::npos ? "" : lines[0].substr(blank);
    return result;
}

// The records' lines without the counter and time; checks those two and the
// thread on the way.
std::vector<std::string> records(const fs::path& file, const std::string& thread) {
    std::vector<std::string> lines;
    const std::regex format("[0-9]+;[0-9]{1,2}:[0-9]{1,2}:[0-9]{1,2}:[0-9]{1,3};" + thread + ";(.*)");
    std::smatch match;
    for (const std::string& line : textLines(readFile(file))) {
        if (std::regex_match(line, match, format))
            lines.push_back(match[1]);
        else
            lines.push_back("malformed: " + line);
    }
    return lines;
}

std::vector<std::string> successRecords(const std::string& u3d, const std::string& pdf) {
    const std::string f = U3DPDF_DRIVER_SOURCE;
    return {
        f + ";123;Frame Enter(convertMetaTree(data, fncPointer))",
        f + ";162;(START Try Block)",
        f + ";185;(Canvas setting)",
        f + ";193;(Activation setting)",
        f + ";199;(View setting)",
        f + ";230;(Camera setting)",
        f + ";258;(Load u3d file: " + u3d + ")",
        f + ";262;(Write pdf file: " + pdf + ")",
        f + ";265;(Delete doc pointer)",
        f + ";269;(Delete temp u3d file)",
        f + ";275;(END Try Block)",
        f + ";123;Frame Leave(convertMetaTree(data, fncPointer))",
    };
}

std::vector<std::string> failedWriteRecords(const std::string& u3d, const std::string& pdf) {
    std::vector<std::string> expected = successRecords(u3d, pdf);
    const std::string f = U3DPDF_DRIVER_SOURCE;
    expected.resize(8);  // up to "Write pdf file"
    expected.push_back(f + ";279;(START Exception Block)");
    expected.push_back(f + ";285;(END Exception Block)");
    expected.push_back(f + ";123;Frame Leave(convertMetaTree(data, fncPointer))");
    return expected;
}

TEST(CodeTrackLogTest, RecordsEveryStepOfEachConversionInOrder) {
    for (const envChangeS& change : {envChangeS{"QVCODETRACK_FLUSH", "1"}, envChangeS{"QVCODETRACK", "1"}}) {
        SCOPED_TRACE(change.name);
        const std::vector<envChangeS> switches = {change};
        scratchDirS logDir("log");
        scratchDirS work("work");
        // Paths far beyond any fixed message buffer are logged whole.
        const fs::path deep = work.path / std::string(200, 'd') / std::string(200, 'e');
        fs::create_directories(deep);
        const fs::path u3d = deep / "model.tmp.u3d";
        const fs::path pdf = deep / "model.pdf";
        fs::copy_file(testData("box.u3d"), u3d);
        const fs::path unwritable = work.path / "missing" / "model.pdf";
        const fs::path kept = work / "kept.tmp.u3d";
        fs::copy_file(testData("box.u3d"), kept);

        const hostRunS run = runHost(logDir.path, switches, {pdf, u3d, unwritable, kept});
        EXPECT_EQ(run.results, " 1 0");
        const std::string name = "codetrack." + run.thread + "." U3DPDF_MODULE_FILE_NAME ".txt";
        ASSERT_EQ(directoryListing(logDir.path), name);

        std::vector<std::string> expected = successRecords(u3d.string(), pdf.string());
        const std::vector<std::string> failed =
            failedWriteRecords(kept.string(), unwritable.string());
        expected.insert(expected.end(), failed.begin(), failed.end());
        EXPECT_EQ(records(logDir.path / name, run.thread), expected);

        // MinGW's directory listing stops at MAX_PATH, so the deep folders
        // are emptied by name before the scratch folder goes.
        fs::remove(pdf);
        fs::remove(u3d);
        fs::remove(deep);
    }
}

TEST(CodeTrackLogTest, ARefusedCustomEntryValueIsRecordedBeforeAnyWork) {
    scratchDirS logDir("entrylog");
    scratchDirS work("entrywork");
    const fs::path u3d = work / "model.tmp.u3d";
    fs::copy_file(testData("box.u3d"), u3d);
    const fs::path pdf = work / "model.pdf";
    const hostRunS run = runHost(logDir.path, {{"QVCODETRACK_FLUSH", "1"}}, {"--entry", "centerview", "Of", pdf, u3d});
    EXPECT_EQ(run.results, " 0");
    const std::string f = U3DPDF_DRIVER_SOURCE;
    const std::vector<std::string> expected = {
        f + ";123;Frame Enter(convertMetaTree(data, fncPointer))",
        f + ";162;(START Try Block)",
        f + ";170;(the custom entry CenterView does not take \"Of\": use On or Off)",
        f + ";279;(START Exception Block)",
        f + ";285;(END Exception Block)",
        f + ";123;Frame Leave(convertMetaTree(data, fncPointer))",
    };
    EXPECT_EQ(records(logDir.path / ("codetrack." + run.thread + "." U3DPDF_MODULE_FILE_NAME ".txt"), run.thread), expected);
    EXPECT_EQ(directoryListing(work.path), "model.tmp.u3d");
}

TEST(CodeTrackLogTest, WritesNothingUnlessSwitchedOn) {
    for (const std::vector<envChangeS>& switches :
         {std::vector<envChangeS>{}, std::vector<envChangeS>{{"QVCODETRACK", "0"}}}) {
        SCOPED_TRACE(switches.size());
        scratchDirS logDir("quiet");
        scratchDirS work("quietwork");
        const fs::path u3d = work / "model.tmp.u3d";
        fs::copy_file(testData("box.u3d"), u3d);
        const hostRunS run = runHost(logDir.path, switches, {work / "model.pdf", u3d, work / "no" / "x.pdf", u3d});
        EXPECT_EQ(run.results, " 1 0");
        EXPECT_EQ(directoryListing(logDir.path), "");
    }
}

}  // namespace
