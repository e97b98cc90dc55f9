#include "treeText.h"

#include "metatree/metaTree.h"

#include <cstdio>

namespace {

void appendChain(const metaTreeC* first, bool wholeChain, std::string& out) {
    for (const metaTreeC* node = first; node; node = wholeChain ? node->next : nullptr) {
        if (node != first)
            out += ',';
        switch (node->value.kind()) {
        case MV_KEY:
            out += node->value.text().text();
            break;
        case MV_STRING:
            out += '\'';
            out += node->value.text().text();
            out += '\'';
            break;
        case MV_DOUBLE: {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%g", node->value.number());
            out += buf;
            break;
        }
        default:
            out += '?';
        }
        if (node->firstChild) {
            out += '(';
            appendChain(node->firstChild, true, out);
            out += ')';
        }
    }
}

}  // namespace

std::string treeText(const metaTreeC* node) {
    std::string out;
    appendChain(node, false, out);
    return out;
}

std::string chainText(const metaTreeC* first) {
    std::string out;
    appendChain(first, true, out);
    return out;
}

metaTreeC* addKey(metaTreeC* parent, const char* key) { return parent->addKey(key); }

metaTreeC* addText(metaTreeC* parent, const char* key, const char* text) {
    metaTreeC* entry = parent->addKey(key);
    entry->addString(text);
    return entry;
}

metaTreeC* addNumbers(metaTreeC* parent, const char* key, std::initializer_list<double> values) {
    metaTreeC* entry = parent->addKey(key);
    for (double v : values)
        entry->addDouble(v);
    return entry;
}
