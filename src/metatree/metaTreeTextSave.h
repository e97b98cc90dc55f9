// Saving meta trees in the braced text form (see metaTreeTextBuffer.h for
// the layouts).
//
// Each save writes the handle's node with its descendants (firstOnly) or
// the node and all its following siblings, in the compact or the pretty
// layout, within the "C" locale so that numbers always use a full stop.
// Entries with a registered storage handler (references, checksums) are
// prepared by the save hooks first, and the copy the hooks return is what
// gets written.
#pragma once

#include "metatree/metaObjectVirtualDataBase.h"
#include "runtime/str/str.h"

// 1 when the whole text was written; 0 for an empty handle, a file that
// cannot be opened for writing (text mode, truncating), a write that does not
// complete, or a text beyond what one buffer holds (2 GiB). The file is only
// opened once the text is ready, so a failed save of that last kind leaves an
// existing file alone.
int saveTreeToFile(const metaObjectVirtualDataBaseC& tree, const char* path, bool firstOnly, bool pretty);
// Empties out, then fills it with the text; 1 on success, 0 as above.
int saveTreeToString(const metaObjectVirtualDataBaseC& tree, str& out, bool firstOnly, bool pretty);
// The text in a new string; empty on failure.
str saveTreeAsString(const metaObjectVirtualDataBaseC& tree, bool firstOnly, bool pretty);
