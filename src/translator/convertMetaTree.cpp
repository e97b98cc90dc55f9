// The conversion driver: one request in, one PDF file out.
//
// The driver reads the request, lets the page composition fill a new
// document and writes it to the output location; then it deletes the host's
// temporary U3D file. Every failure of the PDF side ends in the result 0
// with nothing written at the output path and the U3D file left in place,
// and with the reason in the request's ErrorMessage entry, so the host can
// tell its user what went wrong and try again. Each step leaves a record in
// the code tracking log, which is what support reads after a failure in the
// field.
#include "pdf/PdfDoc.h"
#include "translator/conversionError.h"
#include "translator/conversionFailure.h"
#include "translator/conversionLog.h"
#include "translator/conversionRequest.h"
#include "translator/defaultCamera.h"
#include "translator/pageComposition.h"
#include "translator/translatorEntryPoints.h"

#include "runtime/diag/codeTrack.h"

#include <cstdio>
#include <filesystem>
#include <memory>

const char* const kConversionSourceFile = __FILE__;

void conversionStep(conversionLogLineE line, const char* message) {
    codeTrackMessage(kConversionSourceFile, line, message);
}

namespace {

const char* const kFrameMessage = "convertMetaTree(data, fncPointer)";

// Counts every entry and every exit of convertMetaTree, thrown or returned.
uint32_t g_callCounter = 0;

struct callCountScopeS {
    callCountScopeS() { ++g_callCounter; }
    ~callCountScopeS() { ++g_callCounter; }
    callCountScopeS(const callCountScopeS&) = delete;
    callCountScopeS& operator=(const callCountScopeS&) = delete;
};

// The PDF is complete: a temporary file that cannot be removed is the host's
// to clean up, not a failed conversion. A host that names the output file as
// its model would lose the result, so that one file stays.
void removeTemporaryModel(const conversionRequestS& request) {
    std::error_code error;
    if (std::filesystem::equivalent(request.u3dPath.text(), request.outputPath.text(), error))
        return;
    std::remove(request.u3dPath.text());
}

// A custom entry with a value the module does not take fails before any
// work: the log says which, and the host gets the same words.
void refuseUnknownValues(const conversionRequestS& request) {
    const str& error = request.custom.error;
    if (error.length() == 0)
        return;
    conversionStep(kLogLineCustomEntry, error.text());
    throw conversionErrorC(error);
}

// Everything that can fail on the PDF side runs here, inside one guard.
int writeDocument(std::unique_ptr<PdfDoc>& doc, const conversionRequestS& request, const defaultCameraS& camera) {
    conversionStep(kLogLineTryStart, "START Try Block");
    refuseUnknownValues(request);
    doc->CreateDocument();
    composePage(*doc, request, camera);
    conversionStep(kLogLineWritePdf, (str("Write pdf file: ") + request.outputPath).text());
    doc->WriteToFile(request.outputPath.text());
    conversionStep(kLogLineDeleteDoc, "Delete doc pointer");
    doc.reset();
    conversionStep(kLogLineDeleteU3d, "Delete temp u3d file");
    removeTemporaryModel(request);
    conversionStep(kLogLineTryEnd, "END Try Block");
    return 1;
}

int runConversion(metaTreeC* data) {
    const conversionRequestS request = readConversionRequest(data);
    const defaultCameraS camera = viewCamera(request);
    auto doc = std::make_unique<PdfDoc>();
    try {
        return writeDocument(doc, request, camera);
    } catch (...) {
        // The log shows the failing step and stays as support knows it; the
        // reason goes to the host, which can show it to its user.
        conversionStep(kLogLineExceptionStart, "START Exception Block");
        doc.reset();
        conversionStep(kLogLineExceptionEnd, "END Exception Block");
        reportFailure(data, std::current_exception(), request, camera);
        return 0;
    }
}

}  // namespace

int translator::convertMetaTree(metaTreeC* data, uintptr_t /*fncPointer*/) {
    callCountScopeS counting;
    codeTrackFrameEnter(kConversionSourceFile, kLogLineFrame, kFrameMessage);
    int result;
    try {
        result = runConversion(data);
    } catch (...) {
        // Only a failure before the document exists gets here (an exhausted
        // allocator, say). The record forces the log to disk; the frame stays
        // open, so the log's last word on this call is the exception.
        codeTrackException(kConversionSourceFile, kLogLineFrame);
        throw;
    }
    codeTrackFrameLeave();
    return result;
}

uint32_t translator::convertCallCounter() { return g_callCounter; }
