#include "u3d/sceneInstances.h"

#include <deque>
#include <unordered_map>

namespace u3d {

namespace {

// The nodes' indices by name; with duplicate names the first node counts.
std::unordered_map<std::string, std::size_t> indexByName(const sceneS& scene) {
    std::unordered_map<std::string, std::size_t> index;
    for (std::size_t i = 0; i < scene.nodes.size(); ++i)
        index.emplace(scene.nodes[i].name, i);
    return index;
}

constexpr std::size_t kWorld = static_cast<std::size_t>(-1);
constexpr std::size_t kNowhere = static_cast<std::size_t>(-2);

// A node never placed is on a cycle or below one: going up through parents
// that were never placed either comes back to a node seen before, which is
// on the cycle.
std::size_t onCycle(std::size_t node, const std::vector<std::vector<std::size_t>>& parentOf,
                    const std::vector<std::size_t>& pending) {
    std::vector<bool> seen(pending.size(), false);
    while (!seen[node]) {
        seen[node] = true;
        for (std::size_t p : parentOf[node])
            if (p < pending.size() && pending[p] != 0) {
                node = p;
                break;
            }
    }
    return node;
}

}  // namespace

// The nodes are placed in topological order (a node after all its parents),
// so the walk needs no recursion and a cycle shows as nodes never reached.
std::vector<modelInstanceS> modelInstances(const sceneS& scene) {
    const std::size_t count = scene.nodes.size();
    const auto byName = indexByName(scene);

    // parentOf[i][k]: the node index of parent k of node i, or kWorld / kNowhere.
    std::vector<std::vector<std::size_t>> parentOf(count);
    std::vector<std::vector<std::size_t>> children(count);
    std::vector<std::size_t> pending(count, 0);
    for (std::size_t i = 0; i < count; ++i)
        for (const parentS& parent : scene.nodes[i].parents) {
            std::size_t p = kWorld;
            if (!parent.name.empty()) {
                const auto found = byName.find(parent.name);
                p = found == byName.end() ? kNowhere : found->second;
            }
            parentOf[i].push_back(p);
            if (p < count) {
                children[p].push_back(i);
                ++pending[i];
            }
        }

    std::vector<std::vector<matrix4d>> toWorld(count);
    // Paths held for all nodes: a bound per node alone would still let
    // many children of one node with many paths fill the memory.
    std::size_t paths = 0;
    std::deque<std::size_t> ready;
    for (std::size_t i = 0; i < count; ++i)
        if (pending[i] == 0)
            ready.push_back(i);
    std::size_t placed = 0;
    while (!ready.empty()) {
        const std::size_t i = ready.front();
        ready.pop_front();
        ++placed;
        const nodeS& node = scene.nodes[i];
        for (std::size_t k = 0; k < node.parents.size(); ++k) {
            const std::size_t p = parentOf[i][k];
            if (p == kNowhere)
                continue;
            const std::size_t added = p == kWorld ? 1 : toWorld[p].size();
            if (paths + added > kMaxInstances)
                throw sceneError("node \"" + node.name + "\" makes the scene's nodes stand in the world along more than " +
                                     std::to_string(kMaxInstances) + " parent paths",
                                 i);
            paths += added;
            if (p == kWorld) {
                toWorld[i].push_back(node.parents[k].transform);
            } else {
                for (const matrix4d& above : toWorld[p])
                    toWorld[i].push_back(above * node.parents[k].transform);
            }
        }
        for (std::size_t child : children[i])
            if (--pending[child] == 0)
                ready.push_back(child);
    }
    if (placed != count)
        for (std::size_t i = 0; i < count; ++i)
            if (pending[i] != 0) {
                const std::size_t node = onCycle(i, parentOf, pending);
                throw sceneError("parent cycle through node \"" + scene.nodes[node].name + "\"", node);
            }

    std::vector<modelInstanceS> instances;
    for (std::size_t i = 0; i < count; ++i) {
        if (scene.nodes[i].kind == nodeKindE::model)
            for (const matrix4d& transform : toWorld[i])
                instances.push_back({i, transform});
        // Groups are done with once their children are placed.
        toWorld[i].shrink_to_fit();
    }
    return instances;
}

boxS worldBox(const sceneS& scene, const std::vector<modelInstanceS>& instances) {
    std::unordered_map<std::string, const geometryS*> byName;
    for (const geometryS& geometry : scene.geometries)
        byName.emplace(geometry.name, &geometry);
    // Which positions of a geometry its primitives use, and their box,
    // worked out once.
    struct usedS {
        std::vector<uint32_t> positions;
        boxS box;
    };
    std::unordered_map<const geometryS*, usedS> usedOf;
    // Every position of every instance, exactly, up to this many; past it
    // (only a forged scene gets there: a large mesh under millions of
    // parent paths) the corners of the geometry's box stand in.
    std::size_t exactLeft = kMaxExactTransforms;
    boxS world;
    for (const modelInstanceS& instance : instances) {
        const auto found = byName.find(scene.nodes[instance.node].resource);
        if (found == byName.end())
            continue;
        const geometryS* geometry = found->second;
        auto [entry, fresh] = usedOf.try_emplace(geometry);
        usedS& used = entry->second;
        if (fresh) {
            std::vector<bool> seen(geometry->positions.size(), false);
            for (uint32_t index : geometry->positionIndices)
                if (index < seen.size() && !seen[index]) {
                    seen[index] = true;
                    used.positions.push_back(index);
                    const vec3f& p = geometry->positions[index];
                    used.box.add(p.x, p.y, p.z);
                }
        }
        if (used.positions.size() > exactLeft) {
            world.add(used.box.transformed(instance.toWorld));
            continue;
        }
        exactLeft -= used.positions.size();
        for (uint32_t index : used.positions) {
            const vec3f& p = geometry->positions[index];
            const auto w = instance.toWorld.transformPoint(p.x, p.y, p.z);
            world.add(w[0], w[1], w[2]);
        }
    }
    return world;
}

}  // namespace u3d
