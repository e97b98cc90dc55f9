#include "modelInfo.h"

#include "u3d/blockTypes.h"

#include <cstdio>

namespace {

using namespace u3d;

std::string format(const char* pattern, double value) {
    char text[40];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

std::string hex32(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

const char* nodeKindName(nodeKindE kind) {
    switch (kind) {
        case nodeKindE::group: return "group";
        case nodeKindE::model: return "model";
        case nodeKindE::light: return "light";
        case nodeKindE::view: return "view";
    }
    return "";
}

const char* geometryKindName(geometryKindE kind) {
    switch (kind) {
        case geometryKindE::mesh: return "mesh";
        case geometryKindE::lineSet: return "line set";
        case geometryKindE::pointSet: return "point set";
    }
    return "";
}

const char* primitiveName(geometryKindE kind) {
    return kind == geometryKindE::mesh ? "faces" : kind == geometryKindE::lineSet ? "lines" : "points";
}

std::string boxText(const boxS& box, const char* pattern, const char* separator) {
    if (box.empty)
        return {};
    std::string text;
    for (int i = 0; i < 6; ++i) {
        if (i > 0)
            text += separator;
        text += format(pattern, i < 3 ? box.min[i] : box.max[i - 3]);
    }
    return text;
}

// Names come from the file: quoted, with control characters escaped so
// that every item stays on its line.
std::string quoted(const std::string& name) {
    std::string text = "\"";
    for (unsigned char c : name) {
        if (c == '"' || c == '\\') {
            text += '\\';
            text += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", c);
            text += escape;
        } else {
            text += static_cast<char>(c);
        }
    }
    return text + "\"";
}

// The length of the well-formed UTF-8 sequence at text[i], or 0.
std::size_t utf8Length(const std::string& text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
    if (length == 0 || i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k)
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
    const unsigned second = byte(i + 1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) || (lead == 0xF0 && second < 0x90) ||
        (lead == 0xF4 && second >= 0x90))
        return 0;  // overlong, surrogate or beyond U+10FFFF
    return length;
}

// A JSON string: well-formed UTF-8 as it is, any other byte as the Latin-1
// character of its value, so that the output is always valid JSON.
std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t length = utf8Length(text, i);
            if (length > 0) {
                out.append(text, i, length);
                i += length;
                continue;
            }
        }
        char escape[8];
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            std::snprintf(escape, sizeof escape, "\\u%04X", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    return out + "\"";
}

std::string jsonBox(const boxS& box) { return box.empty ? "null" : "[" + boxText(box, "%.17g", ", ") + "]"; }

}  // namespace

std::string modelInfoText(const std::string& path, const u3dFileS& model) {
    const fileSummaryS& s = model.summary;
    const sceneS& scene = model.scene;
    std::string text = "file: " + path + "\n";
    text += "size: " + std::to_string(s.fileSize) + " bytes, declared " + std::to_string(s.declaredFileSize) + "\n";
    text += "version: " + std::to_string(s.majorVersion) + "." + std::to_string(s.minorVersion) + ", profile " +
            hex32(s.profile) + ", character encoding " + std::to_string(s.characterEncoding) +
            ", declaration size " + std::to_string(s.declarationSize) + "\n";
    text += "units scale: " + (s.hasUnitsScale ? format("%.9g", s.unitsScale) : std::string("none")) + "\n";
    uint64_t blocks = 0;
    for (const auto& [type, count] : s.blockCounts)
        blocks += count;
    text += "blocks: " + std::to_string(blocks) + "\n";
    for (const auto& [type, count] : s.blockCounts) {
        const std::string name = blockTypeName(type);
        text += "  " + hex32(type) + " " + (name.empty() ? "unknown" : name) + ": " + std::to_string(count) + "\n";
    }
    text += "nodes: " + std::to_string(scene.nodes.size()) + "\n";
    for (const nodeS& node : scene.nodes) {
        text += "  " + std::string(nodeKindName(node.kind)) + " " + quoted(node.name) + ", parents:";
        for (const parentS& parent : node.parents)
            text += " " + (parent.name.empty() ? std::string("<world>") : quoted(parent.name));
        if (node.parents.empty())
            text += " none";
        if (!node.resource.empty())
            text += ", resource " + quoted(node.resource);
        text += "\n";
    }
    text += "resources: " + std::to_string(scene.geometries.size()) + "\n";
    for (const geometryS& g : scene.geometries) {
        const boxS box = g.bounds();
        text += "  " + std::string(geometryKindName(g.kind)) + " " + quoted(g.name) + ": " +
                std::to_string(g.positions.size()) + " positions, " + std::to_string(g.primitiveCount()) + " " +
                primitiveName(g.kind) + ", box " + (box.empty ? "empty" : boxText(box, "%.9g", " ")) + "\n";
    }
    text += "shaders: " + std::to_string(scene.shaders.size()) + ", materials: " + std::to_string(scene.materials.size()) +
            "\n";
    text += "file references: " + std::to_string(s.fileReferences.size()) + " (not followed)\n";
    for (const fileReferenceS& reference : s.fileReferences) {
        text += "  " + quoted(reference.scopeName) + " at offset " + std::to_string(reference.offset) + ":";
        for (const std::string& url : reference.urls)
            text += " " + quoted(url);
        text += "\n";
    }
    text += "model instances: " + std::to_string(s.modelInstanceCount) + "\n";
    text += "world box: " + (s.worldBox.empty ? std::string("empty") : boxText(s.worldBox, "%.9g", " ")) + "\n";
    return text;
}

std::string modelInfoJson(const std::string& path, const u3dFileS& model) {
    const fileSummaryS& s = model.summary;
    const sceneS& scene = model.scene;
    std::string json = "{\n";
    json += "  \"file\": " + jsonString(path) + ",\n";
    json += "  \"fileSize\": " + std::to_string(s.fileSize) + ",\n";
    json += "  \"declaredFileSize\": " + std::to_string(s.declaredFileSize) + ",\n";
    json += "  \"version\": [" + std::to_string(s.majorVersion) + ", " + std::to_string(s.minorVersion) + "],\n";
    json += "  \"profile\": " + std::to_string(s.profile) + ",\n";
    json += "  \"characterEncoding\": " + std::to_string(s.characterEncoding) + ",\n";
    json += "  \"declarationSize\": " + std::to_string(s.declarationSize) + ",\n";
    json += "  \"unitsScale\": " + (s.hasUnitsScale ? format("%.17g", s.unitsScale) : std::string("null")) + ",\n";
    json += "  \"blocks\": [";
    const char* separator = "\n";
    for (const auto& [type, count] : s.blockCounts) {
        json += separator + std::string("    {\"type\": \"") + hex32(type) + "\", \"name\": " + jsonString(blockTypeName(type)) +
                ", \"count\": " + std::to_string(count) + "}";
        separator = ",\n";
    }
    json += "\n  ],\n  \"nodes\": [";
    separator = "\n";
    for (const nodeS& node : scene.nodes) {
        json += separator + std::string("    {\"kind\": \"") + nodeKindName(node.kind) + "\", \"name\": " + jsonString(node.name) +
                ", \"parents\": [";
        for (std::size_t i = 0; i < node.parents.size(); ++i)
            json += (i > 0 ? ", " : "") + jsonString(node.parents[i].name);
        json += "], \"resource\": " + jsonString(node.resource) + "}";
        separator = ",\n";
    }
    json += "\n  ],\n  \"resources\": [";
    separator = "\n";
    for (const geometryS& g : scene.geometries) {
        json += separator + std::string("    {\"kind\": \"") + geometryKindName(g.kind) + "\", \"name\": " + jsonString(g.name) +
                ", \"positions\": " + std::to_string(g.positions.size()) +
                ", \"primitives\": " + std::to_string(g.primitiveCount()) + ", \"box\": " + jsonBox(g.bounds()) + "}";
        separator = ",\n";
    }
    json += "\n  ],\n  \"shaders\": " + std::to_string(scene.shaders.size()) +
            ",\n  \"materials\": " + std::to_string(scene.materials.size()) + ",\n  \"fileReferences\": [";
    separator = "\n";
    for (const fileReferenceS& reference : s.fileReferences) {
        json += separator + std::string("    {\"scope\": ") + jsonString(reference.scopeName) +
                ", \"offset\": " + std::to_string(reference.offset) + ", \"urls\": [";
        for (std::size_t i = 0; i < reference.urls.size(); ++i)
            json += (i > 0 ? ", " : "") + jsonString(reference.urls[i]);
        json += "]}";
        separator = ",\n";
    }
    json += "\n  ],\n  \"modelInstances\": " + std::to_string(s.modelInstanceCount) + ",\n";
    json += "  \"worldBox\": " + jsonBox(s.worldBox) + "\n}\n";
    return json;
}
