#include "expectedPdf.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

const char* const kCrLf = "\r\n";

std::string dict(std::initializer_list<std::string> entries) {
    std::string out = "<<\r\n";
    for (const std::string& entry : entries)
        out += entry + kCrLf;
    return out + ">>";
}

std::string object(int id, const std::string& body) {
    return std::to_string(id) + " 0 obj\r\n" + body + "\r\nendobj\r\n";
}

// The parts before and after the compressed bytes; the cross-reference
// table needs the offsets, which follow from the parts' lengths.
struct partsS {
    std::string objects[9];  // complete frames 1 to 7, [8] up to "stream\r\n"
    std::string streamEnd = "\r\nendstream\r\nendobj\r\n";
};

partsS parts(const cameraTextS& camera, size_t compressedLength) {
    partsS p;
    p.objects[1] = object(1, dict({"/Type /Catalog", "/Pages 2 0 R"}));
    p.objects[2] = object(2, dict({"/Type /Pages", "/Kids [4 0 R ]", "/Count 1"}));
    p.objects[3] = object(3, dict({"/Producer (VELA\\040Free\\040PDF\\040Library\\040Version\\0401.2.0\\040Beta5)"}));
    p.objects[4] = object(4, dict({"/Type /Page", "/Parent 2 0 R", "/Resources " + dict({"/ProcSet [/PDF ]"}),
                                   "/MediaBox [0 0 793 612 ]", "/Contents 5 0 R", "/Annots [7 0 R ]"}));
    const std::string content = "1 1 1 rg\n0 0 793 612 re\nf\n";
    p.objects[5] = object(5, dict({"/Length 6 0 R"}) + "\r\nstream\r\n" + content + "\r\nendstream");
    p.objects[6] = object(6, std::to_string(content.size()));
    const std::string view = dict({
        "/Type /3DView",
        "/XN /#28Unnamed#29",
        "/LS " + dict({"/Type /3DLightingScheme", "/Subtype /White"}),
        "/RM " + dict({"/Type /3DRenderMode", "/Subtype /SolidOutline"}),
        "/BG " + dict({"/Subtype /SC", "/C [1 1 1 ]"}),
        "/MS /M",
        "/C2W [" + camera.c2w + " ]",
        "/CO " + camera.co,
    });
    p.objects[7] = object(7, dict({
                                 "/Type /Annot",
                                 "/Subtype /3D",
                                 "/AP " + dict({"/N " + dict({"/Subtype /Form", "/Matrix [1 0 0 1 0 0 ]"})}),
                                 "/Rect [5 5 788 607 ]",
                                 "/3DA " + dict({"/A /PO", "/DIS /I"}),
                                 "/3DI true",
                                 "/3DV " + view,
                                 "/3DD 8 0 R",
                             }));
    p.objects[8] = "8 0 obj\r\n" +
                   dict({"/Type /3D", "/Subtype /U3D", "/Length " + std::to_string(compressedLength),
                         "/Filter /FlateDecode"}) +
                   "\r\nstream\r\n";
    return p;
}

const std::string kHeader("%PDF-1.6\n%\xB7\xBE\xAD\xAA\r\n", 16);

}  // namespace

std::string pdfReal(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.5f", value);
    std::string text = buf;
    while (text.size() > 1 && text.back() == '0')
        text.pop_back();
    if (text.size() > 1 && text.back() == '.')
        text.pop_back();
    return text;
}

namespace {

cameraTextS cameraAround(const boxS& box, const double (&target)[3]) {
    double squares = 0;
    for (int i = 0; i < 3; ++i)
        squares += (box.max[i] - box.min[i]) * (box.max[i] - box.min[i]);
    const double distance = std::sqrt(squares) * 1.8;
    // The camera sits on the view axis, sqrt(6)/4, 1/2, sqrt(6)/4 of the
    // distance away from the point it orbits.
    const double side = std::sqrt(6.0) / 4;
    cameraTextS text;
    text.c2w = "-0.70711 0 0.70711 -0.35355 0.86603 -0.35355 -0.61237 -0.5 -0.61237 " +
               pdfReal(target[0] + side * distance) + " " + pdfReal(target[1] + 0.5 * distance) + " " +
               pdfReal(target[2] + side * distance);
    text.co = pdfReal(distance);
    return text;
}

}  // namespace

cameraTextS cameraText(const boxS& box) { return cameraAround(box, {0, 0, 0}); }

cameraTextS centredCameraText(const boxS& box) {
    const double centre[3] = {(box.min[0] + box.max[0]) / 2, (box.min[1] + box.max[1]) / 2,
                              (box.min[2] + box.max[2]) / 2};
    return cameraAround(box, centre);
}

layoutS expectedLayout(const cameraTextS& camera, size_t compressedLength) {
    const partsS p = parts(camera, compressedLength);
    layoutS layout{};
    long offset = static_cast<long>(kHeader.size());
    for (int id = 1; id <= 8; ++id) {
        layout.objects[id] = offset;
        offset += static_cast<long>(p.objects[id].size());
    }
    layout.xref = offset + static_cast<long>(compressedLength + p.streamEnd.size());
    return layout;
}

std::string expectedPdf(const cameraTextS& camera, const std::string& compressed) {
    const partsS p = parts(camera, compressed.size());
    const layoutS layout = expectedLayout(camera, compressed.size());
    std::string file = kHeader;
    for (int id = 1; id <= 8; ++id)
        file += p.objects[id];
    file += compressed + p.streamEnd;
    file += "xref\r\n0 9\r\n0000000000 65535 f\r\n";
    for (int id = 1; id <= 8; ++id) {
        char line[32];
        std::snprintf(line, sizeof line, "%010ld 00000 n\r\n", layout.objects[id]);
        file += line;
    }
    file += "trailer\r\n" + dict({"/Root 1 0 R", "/Info 3 0 R", "/Size 9"}) + "\r\nstartxref\r\n" +
            std::to_string(layout.xref) + "\r\n%%EOF\r\n";
    return file;
}
