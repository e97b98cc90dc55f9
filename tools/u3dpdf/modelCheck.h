// Reading a model as U3D before anything is done with it, for the commands
// that take models.
#pragma once

#include "u3d/reader.h"

#include <string>

// The file read strictly: anything that does not decode is an input error
// "PATH: <fault at block and offset>" (exit status 2).
u3d::u3dFileS readModel(const std::string& path);

// The structure of the model at `path` (named `shown` in messages) before
// the module embeds it: a file that is not U3D, is truncated or has blocks
// that run past its end is an input error. Content that does not decode
// (viewers may still show the rest) gets one warning line on standard
// error, "...; it is embedded as it is" and the consequence, and the
// conversion goes on. The one read that the conversion makes of the model
// also measures it.
struct modelCheckS {
    u3d::boxS worldBox; // of what decoded; empty when no model node shows geometry
    bool decoded;       // the whole file decoded
};
modelCheckS checkModelStructure(const std::string& shown, const std::string& path,
                                const std::string& consequence = {});
