#include "treeTestUtil.h"

#include <cstdio>
#include <sstream>

std::string render(const metaTreeC* chain, bool firstOnly) {
    std::string out;
    for (const metaTreeC* n = chain; n; n = firstOnly ? nullptr : n->next) {
        if (n != chain)
            out += ',';
        switch (n->value.kind()) {
        case MV_KEY:
            out += n->value.text().text();
            break;
        case MV_STRING:
            out += '\'' + std::string(n->value.text().text()) + '\'';
            break;
        case MV_DOUBLE: {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%g", n->value.number());
            out += buf;
            break;
        }
        default:
            out += '?';
        }
        if (n->firstChild)
            out += '(' + render(n->firstChild) + ')';
    }
    return out;
}

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
