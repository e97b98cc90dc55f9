// Running the built u3dpdf as a user does, from a shell, and looking at what
// it leaves. Files and commands come from the integration tests' host
// helpers (tests/integration/moduleHost.h).
#pragma once

#include "integration/moduleHost.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct cliResultS {
    int status = -1;
    std::string out;
    std::string err;
};

struct cliRunS {
    std::vector<std::string> args;
    // Working directory; the test's own when empty.
    std::filesystem::path cwd;
    // TMPDIR for the run (where convert puts its copy); unchanged when empty.
    std::filesystem::path tmpdir;
    // The executable; the built u3dpdf when empty.
    std::filesystem::path exe;
};

cliResultS runCliWith(const cliRunS& run);
cliResultS runCli(const std::vector<std::string>& args);

// True when err is exactly one line "u3dpdf: ...".
bool oneErrorLine(const std::string& err);
// qpdf --check accepts the file.
bool qpdfAccepts(const std::filesystem::path& pdf);
// The decoded data of the 3D stream, object 8, as qpdf extracts it.
std::string embeddedModel(const std::filesystem::path& pdf);

// A page as pdftoppm draws it: RGB bytes, rows from the top.
struct pageImageS {
    int width = 0, height = 0;
    std::string rgb;
    std::array<int, 3> at(int x, int y) const {
        const std::size_t i = (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3;
        return {uint8_t(rgb[i]), uint8_t(rgb[i + 1]), uint8_t(rgb[i + 2])};
    }
};

// Whether the build found pdftoppm (poppler-utils).
bool pdftoppmAvailable();
// The PDF's page as pdftoppm draws it at 72 pixels per inch (one pixel a
// PDF unit), made in `dir`.
pageImageS drawnPage(const std::filesystem::path& pdf, const std::filesystem::path& dir);
