// The blocks of a node's modifier chain: the node itself (its name, its
// parents with the transform below each) and, for a model node whose
// primitives name shaders, the shading modifier that binds them.
#pragma once

#include "u3d/blockFraming.h"
#include "u3d/scene.h"

namespace u3d {

// Model nodes are written as model nodes (resource and visibility after
// the parents), every other node as a group node: the scene keeps no light
// or view resources, and as groups such nodes still carry their children.
outBlockS nodeBlock(const nodeS& node);

// Whether the node's chain holds a shading modifier after the node.
inline bool hasShadingModifier(const nodeS& node) { return node.kind == nodeKindE::model && !node.shaders.empty(); }

// One shader list per shading id, each holding the node's shader for it.
outBlockS shadingModifierBlock(const nodeS& node);

}  // namespace u3d
