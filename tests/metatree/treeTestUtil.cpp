#include "treeTestUtil.h"

#include <sstream>

bool linksConsistent(const metaTreeC* chain) {
    for (const metaTreeC* n = chain; n; n = n->next) {
        if (n->next && (n->next->prev != n || n->next->parent != n->parent))
            return false;
        const metaTreeC* last = n->firstChild;
        while (last && last->next)
            last = last->next;
        if (n->lastChild() != last)
            return false;
        if (const metaTreeC* c = n->firstChild)
            if (c->prev || c->parent != n || !linksConsistent(c))
                return false;
    }
    return true;
}

metaTreeC* keyList(const char* root, const char* children) {
    metaTreeC* r = createKeyNode(root);
    std::stringstream in(children);
    for (std::string key; std::getline(in, key, ',');)
        r->addKey(key.c_str());
    return r;
}
