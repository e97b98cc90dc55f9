#include "metatree/treeStamp.h"

int32_t treeStamp = 0;
