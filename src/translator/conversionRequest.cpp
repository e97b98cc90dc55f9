#include "translator/conversionRequest.h"

#include "translator/customEntryKeys.h"
#include "translator/requestTree.h"

conversionRequestS readConversionRequest(metaTreeC* data) {
    requestRootC root(data);
    conversionRequestS request;
    // NAME, VERSION and the library path play no part in the conversion;
    // they are read because hosts rely on the keys being there afterwards.
    root.NAME();
    request.outputPath = root.OUTPUTLOCATION();
    root.VERSION();
    requestEntriesC entries = root.CUSTOMDATA().ENTRIES();
    entries.ENTRY(kEntryAddLibPath).TEXT();
    request.custom = readConversionOptions(entries);

    requestInputC input = root.INPUTDATA();
    request.u3dPath = input.FILENAME();
    request.boxMin = input.U3DBOXMIN();
    request.boxMax = input.U3DBOXMAX();
    return request;
}
