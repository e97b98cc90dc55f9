// The fixed name tables of the 3D dictionaries and their lookups.
#pragma once

// Index -> PDF name; callers pass small integer indexes, the dictionaries
// store the names.
struct Pdf3dNameTable {
    const char* const* names;
    int count;
};

// Activation mode (A of the activation dictionary): PO, PV, XA.
extern const Pdf3dNameTable kPdf3dActivationModes;
// Deactivation state (DIS of the activation dictionary): U, I, L.
extern const Pdf3dNameTable kPdf3dDeactivationStates;
// Lighting scheme (Subtype of LS), 10 names from White to Headlamp.
extern const Pdf3dNameTable kPdf3dLightingSchemes;
// Render mode (Subtype of RM), 15 names from BoundingBox to Solid.
extern const Pdf3dNameTable kPdf3dRenderModes;

// The name at index; the empty name for an index outside the table.
const char* Pdf3dNameFor(const Pdf3dNameTable& table, int index);
// The index of the name (exact, case-sensitive), or -1.
int Pdf3dIndexFor(const Pdf3dNameTable& table, const char* name);
