// Scenes the writer tests build: meshes, line sets and point sets of every
// shape the writer handles, and the nodes, shaders and materials around
// them.
#pragma once

#include "u3d/scene.h"

#include <cstdint>
#include <string>
#include <vector>

namespace u3dtest {

u3d::matrix4d translation(double x, double y, double z);

// A node under the given parents (the world is "").
u3d::nodeS groupNode(const std::string& name, std::vector<u3d::parentS> parents);
u3d::nodeS modelNode(const std::string& name, std::vector<u3d::parentS> parents, const std::string& geometry,
                     std::vector<std::string> shaders = {});

// A shader with its material of the same name and the given diffuse colour.
void addShader(u3d::sceneS& scene, const std::string& name, u3d::color4f diffuse);

// A grid of n x n quads, two triangles each, over [0, n] x [0, n] at a
// height that varies from corner to corner: indexed (shared positions)
// with one normal per position, optionally one colour per position and
// shading ids alternating between 0 and 1 per quad.
u3d::geometryS gridMesh(const std::string& name, unsigned n, bool colors, bool twoShadings);

// The same triangles as a soup: every corner its own position and normal.
u3d::geometryS soupOf(const u3d::geometryS& indexed);

// A closed polyline through `points` positions on a circle, with one
// colour per position when asked.
u3d::geometryS polyline(const std::string& name, unsigned points, bool colors);

// `count` points on a spiral, with one colour per point when asked.
u3d::geometryS pointCloud(const std::string& name, unsigned count, bool colors);

// A one-model scene: the geometry under the world, drawn with a red shader.
u3d::sceneS sceneOf(u3d::geometryS geometry);

}  // namespace u3dtest
