// Building and reading the trees that a host exchanges with the module, with
// the meta tree library u3dpdf::metatree (find_package(u3dpdf)):
//   - metaObjectC (metatree/metaObject.h): a handle on any node, owning or
//     not; createKeyNode (metatree/metaTree.h) makes a new root;
//   - requestRootC (translator/requestTree.h): the request's keys, read and
//     written by name, its custom entries (ErrorMessage after a failure);
//   - capsRootC (translator/capsTree.h): the capability tree's keys;
//   - the braced text form: metaTreeTextReaderC and saveTreeToString
//     (metatree/metaTreeTextReader.h, metatree/metaTreeTextSave.h).
// The module's entry points are in u3dpdf/module.h, which says which hosts
// can share these trees with the module.
#pragma once

#include "u3dpdf/module.h"

#include "metatree/metaObject.h"
#include "metatree/metaTree.h"
#include "metatree/metaTreeTextReader.h"
#include "metatree/metaTreeTextSave.h"
#include "translator/capsTree.h"
#include "translator/customEntryKeys.h"
#include "translator/requestTree.h"

// Code that creates or deletes tree nodes must agree with the module on
// which types take the aligned operator new: the module hands out 8-aligned
// blocks from its pools. The u3dpdf::metatree target sets -faligned-new=8;
// a host that compiles these headers by other means must set it too.
static_assert(__STDCPP_DEFAULT_NEW_ALIGNMENT__ == 8,
              "u3dpdf: compile hosts with -faligned-new=8, as the module is (u3dpdf::metatree sets it)");
