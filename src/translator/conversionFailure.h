// Why a conversion failed, told to the host.
//
// The driver's failure path hands over whatever was thrown; this turns it
// into one line that a user can act on and adds it to the host's request
// as the custom entry ErrorMessage. Only a failed conversion gets the
// entry, so a host that never looks sees the request as before.
#pragma once

#include "runtime/str/str.h"

#include <exception>

class metaTreeC;
struct conversionRequestS;
struct defaultCameraS;

// The reason for the failure (a caught exception): the writer's code and
// system error number, the request and the camera decide the words.
// Failures the writer describes well keep its text.
//   PdfErrWrite  "cannot write OUT: the directory DIR does not exist",
//                "cannot write OUT: <the system's reason>", or "the request
//                names no output file ..." for an empty OUTPUTLOCATION
//   PdfErrRange  the box (not finite, too large) or the centred camera
//                beyond what a PDF holds, when the camera is the cause
//   conversionErrorC, std::exception   their own text; bad_alloc "out of memory"
//   other PdfException  "the PDF writer failed: <its text>"
str describeFailure(std::exception_ptr failure, const conversionRequestS& request, const defaultCameraS& camera);

// Appends ENTRY{KEY{"ErrorMessage"},TEXT{reason}} to the request's
// CUSTOMDATA/ENTRIES, created by this module. Never throws: when even that
// fails for lack of memory, the host gets the result 0 without a reason.
void reportFailure(metaTreeC* data, std::exception_ptr failure, const conversionRequestS& request,
                   const defaultCameraS& camera) noexcept;
