#include "modelCheck.h"

#include "cliExit.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

u3d::u3dFileS readModel(const std::string& path) {
    // Said as every command says it of a file it cannot read.
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        inputError("cannot read " + path + ": " + std::strerror(errno));
    std::fclose(file);
    try {
        return u3d::readU3dFile(path);
    } catch (const u3d::formatError& error) {
        inputError(path + ": " + error.what());
    }
}

modelCheckS checkModelStructure(const std::string& shown, const std::string& path, const std::string& consequence) {
    u3d::u3dFileS model;
    try {
        model = u3d::readU3dFile(path, {false});
    } catch (const u3d::formatError& error) {
        inputError(shown + ": " + error.what());
    }
    const std::vector<std::string>& faults = model.summary.faults;
    if (faults.empty())
        return {model.summary.worldBox, true};
    std::string line = "u3dpdf: warning: " + shown + ": " + faults.front();
    if (faults.size() > 1)
        line += " (and " + std::to_string(faults.size() - 1) + " more)";
    line += "; it is embedded as it is" + consequence + "\n";
    std::fputs(line.c_str(), stderr);
    return {model.summary.worldBox, false};
}
