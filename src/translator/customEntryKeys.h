// The KEY texts of the request's custom entries (CUSTOMDATA / ENTRIES /
// ENTRY with KEY and TEXT) that the module reads or writes. A request is
// matched without regard to case; these are the spellings the module writes
// and documents. Hosts include this header too, so both sides spell a key
// the same way.
#pragma once

// Read and not used further; hosts rely on the key being read.
inline constexpr char kEntryAddLibPath[] = "AddLibPath";
// "On" aims the default view at the centre of the bounding box instead of
// the world origin (conversionOptions.h lists the values it takes).
inline constexpr char kEntryCenterView[] = "CenterView";
// The presentation of the model (conversionOptions.h lists the values each
// takes): a poster as the annotation's appearance and its resolution, the
// view's render mode, lighting scheme and background, named views besides
// the default one, and the viewer's toolbar and model tree panel.
inline constexpr char kEntryPoster[] = "Poster";
inline constexpr char kEntryPosterResolution[] = "PosterResolution";
inline constexpr char kEntryRenderMode[] = "RenderMode";
inline constexpr char kEntryLightingScheme[] = "LightingScheme";
inline constexpr char kEntryBackground[] = "Background";
inline constexpr char kEntryViews[] = "Views";
inline constexpr char kEntryToolbar[] = "Toolbar";
inline constexpr char kEntryModelTree[] = "ModelTree";
// Written by the module, only when a conversion fails: why, in one line.
inline constexpr char kEntryErrorMessage[] = "ErrorMessage";
