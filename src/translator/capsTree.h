// Wrappers over the nodes of the capability tree that getCaps builds.
//
//   DLLIFACE / INFO (NAME, VERSION, DESC, DATE)
//            / IOPAIRS / IOPAIR / INFMT (FILEEXT, NAME, INMODE)
//                               / OUTFMTS / OUTFMT (GROUP, NAME, DESC, OUTMODE,
//                                   FILEEXT, TOOLBARBMP, VERSIONSDESC, VERSIONS)
//
// Node operations find or create the child (IOPAIR and OUTFMT are always
// created: a translator may offer several pairings), string and number
// operations write the entry's value. No wrapper owns its node.
#pragma once

#include "metatree/metaObjKeyContainer.h"
#include "metatree/metaObject.h"
#include "translator/metaSharedKeys.h"

#include <cstdint>

// VERSIONS or VERSIONSDESC: a list of texts, appended with appendString.
class metaStringListC : public metaObjKeyContainerC {
public:
    explicit metaStringListC(metaTreeC* node) : metaObjKeyContainerC(node) {}
};

class capsInfoC : public metaObjectC, public metaKeyNameC, public metaKeyVersionC, public metaKeyDescC {
public:
    explicit capsInfoC(metaTreeC* node) : metaObjectC(node) {}
    void DATE(const char* text) { writeString("DATE", text); }
};

class capsInFmtC : public metaObjectC, public metaKeyFileExtC, public metaKeyNameC {
public:
    explicit capsInFmtC(metaTreeC* node) : metaObjectC(node) {}
    void INMODE(int32_t mode) { writeNumber("INMODE", mode); }
};

class capsOutFmtC : public metaObjectC,
                    public metaKeyNameC,
                    public metaKeyDescC,
                    public metaKeyFileExtC {
public:
    explicit capsOutFmtC(metaTreeC* node) : metaObjectC(node) {}
    void GROUP(const char* text) { writeString("GROUP", text); }
    void OUTMODE(int32_t mode) { writeNumber("OUTMODE", mode); }
    void TOOLBARBMP(const char* text) { writeString("TOOLBARBMP", text); }
    metaStringListC VERSIONSDESC() { return metaStringListC(keyFindOrCreate("VERSIONSDESC")); }
    metaStringListC VERSIONS() { return metaStringListC(keyFindOrCreate("VERSIONS")); }
};

class capsOutFmtsC : public metaObjKeyContainerC, public virtual metaKeyAccessC {
public:
    explicit capsOutFmtsC(metaTreeC* node) : metaObjKeyContainerC(node) {}
    capsOutFmtC OUTFMT() { return capsOutFmtC(keyCreate("OUTFMT")); }
};

class capsIoPairC : public metaObjectC, public virtual metaKeyAccessC {
public:
    explicit capsIoPairC(metaTreeC* node) : metaObjectC(node) {}
    capsInFmtC INFMT() { return capsInFmtC(keyFindOrCreate("INFMT")); }
    capsOutFmtsC OUTFMTS() { return capsOutFmtsC(keyFindOrCreate("OUTFMTS")); }
};

class capsIoPairsC : public metaObjKeyContainerC, public virtual metaKeyAccessC {
public:
    explicit capsIoPairsC(metaTreeC* node) : metaObjKeyContainerC(node) {}
    capsIoPairC IOPAIR() { return capsIoPairC(keyCreate("IOPAIR")); }
};

// The root, key DLLIFACE.
class capsRootC : public metaObjectC, public virtual metaKeyAccessC {
public:
    explicit capsRootC(metaTreeC* node) : metaObjectC(node) {}
    capsInfoC INFO() { return capsInfoC(keyFindOrCreate("INFO")); }
    capsIoPairsC IOPAIRS() { return capsIoPairsC(keyFindOrCreate("IOPAIRS")); }
};
