// Where a command writes its result, from the value of its -o option, the
// same for every command that writes a file:
//   "-"                   standard output (refused when it is a terminal);
//   an existing directory DIR/NAME.EXT, NAME being the input's file name
//                         without its extension (model.u3d -> model.pdf);
//   anything else         that file.
#pragma once

#include <string>

struct outputTargetS {
    bool toStandardOutput = false;
    std::string path;  // the file to write; empty for standard output
    // How messages name it: the path, or "standard output".
    std::string shown;
};

// A usage error of command when option is "-" and standard output is a
// terminal: a document would scroll past as garbage.
outputTargetS outputTarget(const std::string& command, const std::string& option, const std::string& input,
                           const char* extension);
