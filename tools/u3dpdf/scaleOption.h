// --scale S: a uniform scale for a model that u3dpdf writes as U3D itself.
#pragma once

#include "cliArgs.h"

#include <string>

// The factor given with --scale (a positive finite number), or 1 without
// it; a usage error of `command` otherwise.
double scaleOption(const cliArgsC& args, const char* command);
