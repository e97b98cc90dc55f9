// What the translator tells the host about itself: one pairing from the
// host's U3D model data to a PDF file with an embedded 3D model.
#include "runtime/str/str.h"
#include "translator/capsBuildDate.h"
#include "translator/capsTree.h"
#include "translator/translatorEntryPoints.h"

#include <memory>

namespace {

void describeTranslator(capsInfoC info) {
    info.NAME("U3D Translator");
    info.VERSION("V1.0");
    info.DESC("U3D Translator DLL");
    const str date = str(capsBuildDate()) + ":";
    info.DATE((date + capsBuildTime()).text());
}

void describeInput(capsInFmtC input) {
    input.FILEEXT("u3d");
    input.NAME("U3DMETA");
    input.INMODE(2);
}

void describeOutput(capsOutFmtC output) {
    output.GROUP("MESH");
    output.NAME("PDF");
    output.DESC("PDF (U3D)");
    output.OUTMODE(0);
    output.FILEEXT("pdf");
    output.TOOLBARBMP("pdf.bmp");
    // The viewer that shows 3D annotations, and its major version.
    output.VERSIONSDESC().appendString("Adobe Acrobat Reader 7.0.8");
    output.VERSIONS().appendString("7");
}

}  // namespace

metaTreeC* translator::getCaps() {
    // Held until the tree is complete: a failed allocation half-way through
    // must not leave the part already built behind.
    std::unique_ptr<metaTreeC> root(createKeyNode("DLLIFACE"));
    capsRootC caps(root.get());
    describeTranslator(caps.INFO());
    capsIoPairC pair = caps.IOPAIRS().IOPAIR();
    describeInput(pair.INFMT());
    describeOutput(pair.OUTFMTS().OUTFMT());
    return root.release();
}
