#include "cliRunner.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>

namespace fs = std::filesystem;

cliResultS runCliWith(const cliRunS& run) {
    const fs::path errFile = fs::temp_directory_path() / ("u3dpdf_cli_err_" + std::to_string(::getpid()));
    std::string command;
    if (!run.cwd.empty())
        command += "cd " + shellQuoted(run.cwd) + " && ";
    if (!run.tmpdir.empty())
        command += "TMPDIR=" + shellQuoted(run.tmpdir) + " ";
    command += shellQuoted(run.exe.empty() ? fs::path(U3DPDF_CLI) : run.exe);
    for (const std::string& arg : run.args)
        command += " " + shellQuoted(arg);
    command += " 2>" + shellQuoted(errFile);
    const commandResultS result = runCommand(command);
    cliResultS cli{result.status, result.output, readFile(errFile)};
    fs::remove(errFile);
    return cli;
}

cliResultS runCli(const std::vector<std::string>& args) { return runCliWith(cliRunS{args, {}, {}, {}}); }

bool oneErrorLine(const std::string& err) {
    return err.rfind("u3dpdf: ", 0) == 0 && err.find('\n') == err.size() - 1;
}

bool qpdfAccepts(const fs::path& pdf) { return runQpdf({"--check", pdf.string()}).status == 0; }

std::string embeddedModel(const fs::path& pdf) {
    return runQpdf({"--show-object=8", "--filtered-stream-data", pdf.string()}).output;
}

bool pdftoppmAvailable() { return !std::string(U3DPDF_PDFTOPPM).empty(); }

pageImageS drawnPage(const fs::path& pdf, const fs::path& dir) {
    const commandResultS run = runCommand(shellQuoted(U3DPDF_PDFTOPPM) + " -r 72 -singlefile " +
                                          shellQuoted(pdf.string()) + " " + shellQuoted((dir / "page").string()));
    EXPECT_EQ(run.status, 0);
    const std::string ppm = readFile(dir / "page.ppm");
    std::istringstream header(ppm);
    std::string magic;
    int maxValue = 0;
    pageImageS image;
    header >> magic >> image.width >> image.height >> maxValue;
    EXPECT_EQ(magic, "P6");
    EXPECT_EQ(maxValue, 255);
    image.rgb = ppm.substr(std::size_t(header.tellg()) + 1);
    EXPECT_EQ(image.rgb.size(), std::size_t(image.width) * std::size_t(image.height) * 3);
    return image;
}
