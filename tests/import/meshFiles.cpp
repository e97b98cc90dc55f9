#include "meshFiles.h"

#include <stdlib.h>
#include <zlib.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace meshfiles {

namespace {

void put(std::string& out, const void* bytes, std::size_t size) {
    out.append(static_cast<const char*>(bytes), size);
}

template <typename T>
void put(std::string& out, T value) {
    put(out, &value, sizeof value);
}

struct coloredVertexS {
    point p;
    uint8_t rgb[3];
};

const coloredVertexS kColoredVertices[] = {
    {{0, 0, 0}, {255, 0, 0}},   {{1, 0, 0}, {0, 255, 0}}, {{1, 1, 0}, {0, 0, 255}},
    {{0, 1, 0}, {255, 255, 255}}, {{0.5f, -1, 0.5f}, {0, 0, 0}},
};

std::string plyHeader(const char* format, bool faces) {
    std::string header = std::string("ply\nformat ") + format +
                         " 1.0\nelement vertex 5\nproperty float x\nproperty float y\nproperty float z\n"
                         "property uchar red\nproperty uchar green\nproperty uchar blue\n";
    if (faces)
        header += "element face 2\nproperty list uchar int vertex_indices\n";
    return header + "end_header\n";
}

std::string plyVertexLines() {
    std::ostringstream out;
    for (const coloredVertexS& v : kColoredVertices)
        out << v.p[0] << " " << v.p[1] << " " << v.p[2] << " " << int(v.rgb[0]) << " " << int(v.rgb[1]) << " "
            << int(v.rgb[2]) << "\n";
    return out.str();
}

point cross(const point& a, const point& b, const point& c) {
    const point e1{b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const point e2{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    point n{e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2], e1[0] * e2[1] - e1[1] * e2[0]};
    const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    for (float& x : n)
        x = length > 0 ? x / length : 0;
    return n;
}

}  // namespace

std::string binaryStl(std::span<const triangleS> triangles) {
    std::string out = "binary STL";
    out.resize(80, ' ');
    out.reserve(84 + 50 * triangles.size());
    const uint32_t count = uint32_t(triangles.size());
    put(out, &count, 4);
    for (const triangleS& t : triangles) {
        put(out, t.normal.data(), 12);
        for (const point& p : t.corners)
            put(out, p.data(), 12);
        out += std::string(2, '\0');
    }
    return out;
}

std::string asciiStl(std::span<const triangleS> triangles, const std::string& solid) {
    std::ostringstream out;
    out.precision(9);
    out << "solid " << solid << "\n";
    for (const triangleS& t : triangles) {
        out << "facet normal " << t.normal[0] << " " << t.normal[1] << " " << t.normal[2] << "\nouter loop\n";
        for (const point& p : t.corners)
            out << "vertex " << p[0] << " " << p[1] << " " << p[2] << "\n";
        out << "endloop\nendfacet\n";
    }
    out << "endsolid " << solid << "\n";
    return out.str();
}

std::vector<triangleS> torus(unsigned around, unsigned across, float R, float r) {
    const double kTau = 6.283185307179586;
    const auto at = [&](unsigned i, unsigned j) {
        const double u = kTau * (i % around) / around;
        const double v = kTau * (j % across) / across;
        return point{float((R + r * std::cos(v)) * std::cos(u)), float((R + r * std::cos(v)) * std::sin(u)),
                     float(r * std::sin(v))};
    };
    std::vector<triangleS> out;
    out.reserve(2 * std::size_t(around) * across);
    for (unsigned i = 0; i < around; ++i)
        for (unsigned j = 0; j < across; ++j) {
            const point a = at(i, j), b = at(i + 1, j), c = at(i + 1, j + 1), d = at(i, j + 1);
            out.push_back({cross(a, b, c), {a, b, c}});
            out.push_back({cross(a, c, d), {a, c, d}});
        }
    return out;
}

std::vector<triangleS> cubeWithoutNormals() {
    const auto corner = [](int i) { return point{float(i & 1), float((i >> 1) & 1), float((i >> 2) & 1)}; };
    static const int faces[12][3] = {{0, 2, 3}, {0, 3, 1}, {4, 5, 7}, {4, 7, 6}, {0, 1, 5}, {0, 5, 4},
                                     {2, 6, 7}, {2, 7, 3}, {0, 4, 6}, {0, 6, 2}, {1, 3, 7}, {1, 7, 5}};
    std::vector<triangleS> out;
    for (const auto& f : faces)
        out.push_back({{0, 0, 0}, {corner(f[0]), corner(f[1]), corner(f[2])}});
    return out;
}

std::string coloredPly(bool binary) {
    if (!binary)
        return plyHeader("ascii", true) + plyVertexLines() + "4 0 1 2 3\n3 0 1 4\n";
    std::string out = plyHeader("binary_little_endian", true);
    for (const coloredVertexS& v : kColoredVertices) {
        put(out, v.p.data(), 12);
        put(out, v.rgb, 3);
    }
    for (const std::vector<int32_t>& face : {std::vector<int32_t>{0, 1, 2, 3}, std::vector<int32_t>{0, 1, 4}}) {
        put(out, uint8_t(face.size()));
        put(out, face.data(), 4 * face.size());
    }
    return out;
}

std::string plyPoints() { return plyHeader("ascii", false) + plyVertexLines(); }

std::string objPoints() { return "v 0 0 0\nv 1 0 0\nv 0 1 3\n"; }

std::string offCube() {
    return "OFF\n8 6 0\n"
           "0 1 2\n2 1 2\n2 3 2\n0 3 2\n0 1 4\n2 1 4\n2 3 4\n0 3 4\n"
           "4 0 3 2 1\n4 4 5 6 7\n4 0 1 5 4\n4 1 2 6 5\n4 2 3 7 6\n4 3 0 4 7\n";
}

objFilesS objWithMaterials() {
    return {"mtllib parts.mtl\n"
            "o left\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nusemtl red\nf 1 2 3 4\n"
            "o right\nv 2 0 0\nv 3 0 0\nv 2 1 0\nusemtl blue\nf 5 6 7\n"
            "o edges\nv 0 0 1\nv 1 0 1\nv 1 1 1\nl 8 9 10\n",
            "newmtl red\nKa 0.1 0 0\nKd 1 0 0\nKs 0.5 0.5 0.5\nKe 0 0 0\nd 1\n"
            "newmtl blue\nKa 0 0 0.1\nKd 0 0 1\nKs 0.25 0.25 0.25\nd 0.5\n"};
}

namespace {

// The assembly's buffer: the cube's positions and colours, its two index
// lists, the triangle's positions and indices; each part starts on a
// multiple of 4 bytes.
struct gltfBufferS {
    std::string bytes;
    std::vector<std::pair<std::size_t, std::size_t>> views;  // offset, length

    void add(const std::string& part) {
        views.push_back({bytes.size(), part.size()});
        bytes += part;
        bytes.resize((bytes.size() + 3) / 4 * 4, '\0');
    }
};

template <typename T>
std::string packed(std::initializer_list<T> values) {
    std::string out;
    for (T v : values)
        put(out, v);
    return out;
}

gltfBufferS assemblyBuffer() {
    gltfBufferS buffer;
    std::string cube, colors;
    for (int i = 0; i < 8; ++i) {
        cube += packed<float>({float(i & 1), float((i >> 1) & 1), float((i >> 2) & 1)});
        colors += packed<float>({float(i & 1), float((i >> 1) & 1), float((i >> 2) & 1), 1});
    }
    buffer.add(cube);
    buffer.add(colors);
    buffer.add(packed<uint16_t>({0, 2, 3, 0, 3, 1, 4, 5, 7, 4, 7, 6, 0, 1, 5, 0, 5, 4}));
    buffer.add(packed<uint16_t>({2, 6, 7, 2, 7, 3, 0, 4, 6, 0, 6, 2, 1, 3, 7, 1, 7, 5}));
    buffer.add(packed<float>({0, 0, 0, 1, 0, 0, 0, 1, 0}));
    buffer.add(packed<uint16_t>({0, 1, 2}));
    return buffer;
}

// The JSON of the assembly; the buffer has a uri unless it is the GLB's.
std::string assemblyJson(const gltfBufferS& buffer, const char* uri) {
    std::ostringstream views;
    for (std::size_t i = 0; i < buffer.views.size(); ++i)
        views << (i ? "," : "") << "{\"buffer\":0,\"byteOffset\":" << buffer.views[i].first
              << ",\"byteLength\":" << buffer.views[i].second << "}";
    std::ostringstream json;
    json << R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],)"
         << R"("nodes":[)"
         << R"({"name":"assembly","translation":[10,0,0],"children":[1,2,3,4,5]},)"
         << R"({"name":"base","mesh":0},)"
         << R"({"name":"arm","mesh":1,"rotation":[0,0,0.70710678,0.70710678],"translation":[0,2,0],"scale":[2,2,2]},)"
         << R"({"name":"arm","mesh":1,"translation":[0,-3,0]},)"
         << R"({"mesh":1,"matrix":[1,0,0,0,0,1,0,0,0,0,1,0,0,0,5,1]},)"
         << R"({"name":"empty"}],)"
         << R"("meshes":[{"name":"cube","primitives":[)"
         << R"({"attributes":{"POSITION":0,"COLOR_0":1},"indices":2,"material":0},)"
         << R"({"attributes":{"POSITION":0,"COLOR_0":1},"indices":3,"material":1}]},)"
         << R"({"name":"tri","primitives":[{"attributes":{"POSITION":4},"indices":5,"material":1}]}],)"
         << R"("materials":[{"name":"red","pbrMetallicRoughness":{"baseColorFactor":[1,0,0,1]}},)"
         << R"({"name":"blue","pbrMetallicRoughness":{"baseColorFactor":[0,0,1,0.5]},"alphaMode":"BLEND"}],)"
         << R"("accessors":[)"
         << R"({"bufferView":0,"componentType":5126,"count":8,"type":"VEC3","min":[0,0,0],"max":[1,1,1]},)"
         << R"({"bufferView":1,"componentType":5126,"count":8,"type":"VEC4"},)"
         << R"({"bufferView":2,"componentType":5123,"count":18,"type":"SCALAR"},)"
         << R"({"bufferView":3,"componentType":5123,"count":18,"type":"SCALAR"},)"
         << R"({"bufferView":4,"componentType":5126,"count":3,"type":"VEC3","min":[0,0,0],"max":[1,1,0]},)"
         << R"({"bufferView":5,"componentType":5123,"count":3,"type":"SCALAR"}],)"
         << R"("bufferViews":[)" << views.str() << "],"
         << R"("buffers":[{)" << (uri ? std::string("\"uri\":\"") + uri + "\"," : "")
         << "\"byteLength\":" << buffer.bytes.size() << "}]}";
    return json.str();
}

}  // namespace

gltfFilesS gltfAssembly() {
    const gltfBufferS buffer = assemblyBuffer();
    return {assemblyJson(buffer, "assembly.bin"), buffer.bytes};
}

std::string glbAssembly() {
    const gltfBufferS buffer = assemblyBuffer();
    std::string json = assemblyJson(buffer, nullptr);
    json.resize((json.size() + 3) / 4 * 4, ' ');
    std::string out = "glTF";
    put(out, uint32_t(2));
    put(out, uint32_t(12 + 8 + json.size() + 8 + buffer.bytes.size()));
    put(out, uint32_t(json.size()));
    out += "JSON" + json;
    put(out, uint32_t(buffer.bytes.size()));
    out += std::string("BIN") + '\0' + buffer.bytes;
    return out;
}

std::string storedZip(const std::vector<zipEntryS>& entries) {
    std::string out, directory;
    for (const zipEntryS& e : entries) {
        const uint32_t crc = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(e.bytes.data()), uInt(e.bytes.size())));
        const uint32_t size = uint32_t(e.bytes.size());
        const uint32_t offset = uint32_t(out.size());
        // Version, flags, method (stored), time and date; then the CRC and
        // both sizes, and the name's length without extra fields.
        const auto common = [&](std::string& to) {
            put(to, uint16_t(20)), put(to, uint16_t(0)), put(to, uint16_t(0)), put(to, uint32_t(0));
            put(to, crc), put(to, size), put(to, size), put(to, uint16_t(e.name.size())), put(to, uint16_t(0));
        };
        put(out, uint32_t(0x04034b50));
        common(out);
        out += e.name + e.bytes;
        put(directory, uint32_t(0x02014b50));
        put(directory, uint16_t(20));
        common(directory);
        // Comment length, disk, internal and external attributes, offset.
        put(directory, uint16_t(0)), put(directory, uint16_t(0)), put(directory, uint16_t(0));
        put(directory, uint32_t(0)), put(directory, offset);
        directory += e.name;
    }
    const uint32_t directoryOffset = uint32_t(out.size());
    out += directory;
    put(out, uint32_t(0x06054b50));
    put(out, uint16_t(0)), put(out, uint16_t(0));
    put(out, uint16_t(entries.size())), put(out, uint16_t(entries.size()));
    put(out, uint32_t(directory.size())), put(out, directoryOffset), put(out, uint16_t(0));
    return out;
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + path.string());
}

scratchFolderC::scratchFolderC(const std::string& tag) {
    std::string pattern = (std::filesystem::temp_directory_path() / ("u3dpdf_" + tag + "_XXXXXX")).string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a folder like " + pattern);
    path_ = pattern;
}

scratchFolderC::~scratchFolderC() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string scratchFolderC::write(const std::string& name, const std::string& bytes) const {
    const std::filesystem::path file = path_ / name;
    std::filesystem::create_directories(file.parent_path());
    writeFile(file, bytes);
    return file.string();
}

}  // namespace meshfiles
