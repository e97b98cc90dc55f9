// What the request's custom entries change in a conversion.
//
// Each option's default is the conversion the module has always made, so a
// request without custom entries gives the same bytes as ever. An entry is
// matched without regard to case and the last match wins, as for every
// custom entry; the lookup creates nothing in the request. A value that an
// entry does not take fails the conversion: a different PDF than the one
// asked for is worse than none.
#pragma once

#include "runtime/str/str.h"

#include <array>
#include <optional>

class requestEntriesC;

// Indexes into the PDF writer's name tables (pdf/3d/Pdf3dNames.h) of the
// settings every default view has.
inline constexpr int kLightingWhite = 0;        // "White"
inline constexpr int kRenderSolidOutline = 11;  // "SolidOutline"

// The poster's resolution in pixels per inch of the annotation: the default,
// and the highest, which keeps the image within the renderer's 8192 pixels
// a side across the annotation's 783 units.
inline constexpr int kDefaultPosterResolution = 150;
inline constexpr int kMaxPosterResolution = 750;

struct conversionOptionsS {
    // CenterView: the default view orbits the bounding box's centre.
    bool centerView = false;
    // Poster: the annotation's normal appearance shows a picture of the
    // default view, at PosterResolution pixels per inch.
    bool poster = false;
    int posterResolution = kDefaultPosterResolution;
    // RenderMode and LightingScheme: the view's settings, as indexes into
    // the PDF writer's name tables. Background: the view's background colour
    // (red, green, blue) on the 0 to 1 scale; white unless given.
    int renderMode = kRenderSolidOutline;
    int lightingScheme = kLightingWhite;
    std::optional<std::array<double, 3>> background;
    // Views: the named views (namedViews.h) to offer besides the default
    // one, bit (1 << view) for each.
    unsigned views = 0;
    // Toolbar and ModelTree: the activation's toolbar and panel switches;
    // left out of the PDF unless given.
    std::optional<bool> toolbar;
    std::optional<bool> modelTree;
};

struct conversionOptionsReadS {
    conversionOptionsS options;
    // The first entry whose value the module does not take, in one line
    // ("the custom entry ... does not take ..."); empty when all are sound.
    str error;
};

// Reads every custom entry the module knows. Switches (CenterView, Poster,
// Toolbar, ModelTree) take On, Yes, True or 1 and Off, No, False or 0;
// names (RenderMode, LightingScheme, Views) are matched without regard to
// case; PosterResolution takes a whole number from 1 to 750 and Background
// three numbers from 0 to 1 (red, green, blue), separated by blanks or
// commas, as does the list of Views.
conversionOptionsReadS readConversionOptions(requestEntriesC entries);

// Why the custom entry key does not take the text, in the words that follow
// the entry's name in a refusal ("does not take \"Foo\": use one of ...");
// empty when it does, and for a key that the module does not read. Hosts
// that link the module's code check their users' values with it.
str refusedEntryValue(const char* key, const char* text);
