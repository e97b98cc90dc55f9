// The bytes a conversion must write, assembled from the file layout of the
// PDF writer: everything except the compressed model is known in advance,
// so the test builds the whole file around the compressed bytes it was
// given and compares byte for byte.
#pragma once

#include <string>

struct boxS {
    double min[3];
    double max[3];
};

// A real as the PDF writer prints it: "%.5f", trailing zeros and a trailing
// point removed.
std::string pdfReal(double value);

// The C2W array body and CO value of the default view for a box, from the
// camera construction (viewer axes fixed, position along the view axis).
struct cameraTextS {
    std::string c2w;  // the twelve reals separated by blanks
    std::string co;
};
cameraTextS cameraText(const boxS& box);
// The same camera moved to orbit the box's centre instead of the origin.
cameraTextS centredCameraText(const boxS& box);

// The whole file for a conversion whose 3D stream holds these compressed
// bytes.
std::string expectedPdf(const cameraTextS& camera, const std::string& compressed);

// The offsets that the cross-reference table of such a file lists for
// objects 1 to 8, and the offset of "xref".
struct layoutS {
    long objects[9];  // [0] unused
    long xref;
};
layoutS expectedLayout(const cameraTextS& camera, size_t compressedLength);
