#include "testFiles.h"

#include "runtime/platform/platform.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

// The process id keeps test processes that run side by side apart; the
// counter keeps apart the directories of one process.
scratchDirS::scratchDirS(const char* tag) {
    static unsigned made = 0;
    path = fs::temp_directory_path() / ("u3dpdf_" + std::string(tag) + "_" +
                                        std::to_string(platform::processId()) + "_" + std::to_string(made++));
    fs::remove_all(path);
    fs::create_directories(path);
}

scratchDirS::~scratchDirS() {
    std::error_code error;
    fs::remove_all(path, error);
    if (error)
        ADD_FAILURE() << "cannot remove " << path << ": " << error.message();
}

fs::path testData(const char* name) { return fs::path(U3DPDF_TEST_DATA_DIR) / name; }

// In one piece: byte by byte, a model of some megabytes takes seconds
// under the sanitizers.
std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> textLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string directoryListing(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    std::string listing;
    for (const std::string& name : names)
        listing += (listing.empty() ? "" : " ") + name;
    return listing;
}
