// Trees in and out of the host: files read with the meta tree's own readers
// and trees written with its own writer, so that u3dpdf reads and writes
// exactly what every other user of the text forms does.
#pragma once

#include "metatree/iniModel.h"
#include "metatree/metaObject.h"

#include <string>

// The braced form: a handle owning every top-level node of the file, empty
// for a file without nodes. An input error when the file cannot be read or
// does not parse; the latter gives the reader's own "Line:<n> - <message>".
metaObjectC loadBracedTree(const std::string& path);
// The INI layout, as an owned INIFILE tree; an input error when the file
// cannot be read.
iniFileC loadIniTree(const std::string& path);
// Writes the braced text of the handle's node and its following siblings
// (nothing for an empty handle), then a line feed, to standard output.
void printTree(const metaObjectVirtualDataBaseC& tree, bool pretty);
