// What u3dpdf info prints about a model: as text for people, as JSON for
// scripts.
#pragma once

#include "u3d/reader.h"

#include <string>

std::string modelInfoText(const std::string& path, const u3d::u3dFileS& model);
std::string modelInfoJson(const std::string& path, const u3d::u3dFileS& model);
