// Writes the smallest complete document of the PDF writer: catalog, page
// tree, information dictionary and one empty page.
//   u3dpdf_example OUTPUT.pdf
#include <cstdio>
#include <exception>

#include "pdf/PdfDoc.h"
#include "pdf/PdfException.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.pdf\n", argc > 0 ? argv[0] : "u3dpdf_example");
        return 2;
    }
    try {
        PdfDoc doc;
        doc.CreateDocument();
        doc.AddPage();
        doc.WriteToFile(argv[1]);
    } catch (const PdfException& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "u3dpdf_example: %s\n", e.what());
        return 1;
    }
    return 0;
}
