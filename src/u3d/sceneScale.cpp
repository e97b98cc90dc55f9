#include "u3d/sceneScale.h"

#include <cmath>
#include <stdexcept>
#include <unordered_set>

namespace u3d {

std::string scaleUnderNewRoot(sceneS& scene, double factor) {
    if (!(std::isfinite(factor) && factor > 0))
        throw std::invalid_argument("a scale factor must be a positive finite number");
    std::unordered_set<std::string> taken;
    for (const nodeS& node : scene.nodes)
        taken.insert(node.name);
    std::string name = "scale";
    for (int n = 2; taken.count(name); ++n)
        name = "scale " + std::to_string(n);

    for (nodeS& node : scene.nodes)
        for (parentS& parent : node.parents)
            if (parent.name.empty())
                parent.name = name;
    nodeS root;
    root.kind = nodeKindE::group;
    root.name = name;
    matrix4d scale;
    scale.m[0] = scale.m[5] = scale.m[10] = factor;
    root.parents.push_back({"", scale});
    // First, so that readers meet it before the nodes under it.
    scene.nodes.insert(scene.nodes.begin(), std::move(root));
    return name;
}

}  // namespace u3d
