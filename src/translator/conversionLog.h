// The steps of a conversion as the code tracking log records them.
//
// Every record of a conversion names the driver's source file and a fixed
// line: support compares logs of different builds by these numbers, so
// they are constants, not the lines where the calls happen to stand.
#pragma once

// The driver's source file name (__FILE__ of convertMetaTree.cpp).
extern const char* const kConversionSourceFile;

enum conversionLogLineE : int {
    kLogLineFrame = 123,             // frame of the entry point, exception record
    kLogLineTryStart = 162,          // "START Try Block"
    kLogLineCustomEntry = 170,       // a custom entry's value refused (its message)
    kLogLineCanvas = 185,            // "Canvas setting"
    kLogLineActivation = 193,        // "Activation setting"
    kLogLineView = 199,              // "View setting"
    kLogLineCamera = 230,            // "Camera setting"
    kLogLinePoster = 240,            // "Poster setting: <width> x <height> pixels", only with a poster
    kLogLineLoadU3d = 258,           // "Load u3d file: <path>"
    kLogLineViews = 260,             // "Views setting", only with named views
    kLogLineWritePdf = 262,          // "Write pdf file: <path>"
    kLogLineDeleteDoc = 265,         // "Delete doc pointer"
    kLogLineDeleteU3d = 269,         // "Delete temp u3d file"
    kLogLineTryEnd = 275,            // "END Try Block"
    kLogLineExceptionStart = 279,    // "START Exception Block"
    kLogLineExceptionEnd = 285,      // "END Exception Block"
};

// A step record of the conversion.
void conversionStep(conversionLogLineE line, const char* message);
