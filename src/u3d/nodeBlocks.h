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

// One shader list per shading id, each holding the shader for it: for the
// chain named `chain` (a model node's, or a geometry's for the models that
// bind none of their own), after its first block.
outBlockS shadingModifierBlock(const std::string& chain, const std::vector<std::string>& shaders);

}  // namespace u3d
