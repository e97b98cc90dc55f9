#include "translator/conversionFailure.h"

#include "pdf/PdfException.h"
#include "pdf/PdfStreamBase.h"
#include "runtime/str/str.h"
#include "translator/conversionError.h"
#include "translator/conversionRequest.h"
#include "translator/customEntryKeys.h"
#include "translator/defaultCamera.h"
#include "translator/namedViews.h"
#include "translator/requestTree.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <new>

namespace {

constexpr double kMaxReal = PdfStreamBase::kMaxReal;

// Two decimals at most, trailing zeros dropped: "20000", "18203.89"; a
// number too long for that in the shortest exact form ("1e+300").
str number(double value) {
    char text[32];
    const auto fixed = std::to_chars(text, text + sizeof(text) - 1, value, std::chars_format::fixed, 2);
    char* end = fixed.ptr;
    if (fixed.ec == std::errc()) {
        while (end - text > 1 && end[-1] == '0')
            --end;
        if (end - text > 1 && end[-1] == '.')
            --end;
    } else {
        end = std::to_chars(text, text + sizeof(text) - 1, value).ptr;
    }
    *end = '\0';
    return str(text);
}

bool beyondRange(const defaultCameraS& camera) {
    for (int i = 9; i < 12; ++i)
        if (!(std::fabs(camera.cameraToWorld[i]) <= kMaxReal))
            return true;
    return false;
}

str tooFarFor(const char* what, const char* change) {
    return str("the bounding box lies too far from the origin for ") + what + " (the camera would stand beyond " +
           number(kMaxReal) + ", and a PDF number cannot exceed that); " + change;
}

bool finite(const vectorC3d& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

str outputFailure(const str& output, int error) {
    if (output.length() == 0)
        return "the request names no output file: OUTPUTLOCATION is missing or empty";
    const str what = str("cannot write ") + output;
    // The writer creates its file beside the output, so a missing directory
    // shows as "no such file"; naming the directory tells what to create.
    if (error == ENOENT) {
        const std::filesystem::path directory = std::filesystem::path(output.text()).parent_path();
        std::error_code ec;
        if (!directory.empty() && !std::filesystem::exists(directory, ec) && !ec)
            return what + ": the directory " + directory.string().c_str() + " does not exist";
    }
    return withSystemReason(what, error);
}

// The reals a conversion writes from the request are the camera's: when one
// of them is out of the writer's range, say which and why.
str cameraFailure(const conversionRequestS& request, const defaultCameraS& camera) {
    if (!finite(request.boxMin) || !finite(request.boxMax))
        return "the bounding box has a corner coordinate that is not a finite number";
    // The camera's own diagonal may have overflowed to infinity; hypot
    // gives the length the user can compare with the limit.
    const vectorC3d& a = request.boxMin;
    const vectorC3d& b = request.boxMax;
    if (!(camera.distance <= kMaxReal))
        return str("the bounding box is too large: its diagonal ") +
               number(std::hypot(b.x - a.x, b.y - a.y, b.z - a.z)) + " exceeds " +
               number(kMaxReal / kCameraDistanceFactor) + " (the default view's camera stands " +
               number(kCameraDistanceFactor) + " diagonals away, and a PDF number cannot exceed " +
               number(kMaxReal) + "); export the model in a larger unit";
    if (beyondRange(camera))
        return tooFarFor(kEntryCenterView, (str("leave ") + kEntryCenterView + " off").text());
    // The named views look at the box's centre, whether the default one
    // does or not.
    for (int view = 0; view < kNamedViewCount; ++view)
        if ((request.custom.options.views & (1u << view)) &&
            beyondRange(namedViewCamera(namedViewE(view), request.boxMin, request.boxMax)))
            return tooFarFor("the named views", (str("leave ") + kEntryViews + " out").text());
    return {};
}

str writerFailure(const PdfException& error, const conversionRequestS& request, const defaultCameraS& camera) {
    if (error.GetCode() == PdfErrWrite)
        return outputFailure(request.outputPath, error.GetSystemError());
    if (error.GetCode() == PdfErrRange) {
        const str reason = cameraFailure(request, camera);
        if (reason.length() > 0)
            return reason;
    }
    // The writer's own words, without the "ERROR: " that every one of them
    // starts with.
    str text(error.what());
    str head = text.left(7);
    head.toLower();
    if (head == "error: ")
        text = text.substring(7, text.length() - 7);
    return str("the PDF writer failed: ") + text;
}

}  // namespace

str describeFailure(std::exception_ptr failure, const conversionRequestS& request, const defaultCameraS& camera) {
    try {
        std::rethrow_exception(failure);
    } catch (const PdfException& error) {
        return writerFailure(error, request, camera);
    } catch (const std::bad_alloc&) {
        return "out of memory";
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "an unexpected error";
    }
}

void reportFailure(metaTreeC* data, std::exception_ptr failure, const conversionRequestS& request,
                   const defaultCameraS& camera) noexcept {
    try {
        const str reason = oneLine(describeFailure(failure, request, camera).text());
        requestRootC(data).CUSTOMDATA().ENTRIES().addENTRY(kEntryErrorMessage, reason.text());
    } catch (...) {
        // Out of memory while reporting: the result alone tells the host.
    }
}
