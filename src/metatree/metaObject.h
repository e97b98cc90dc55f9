// The typed view onto one node of a meta tree.
//
// Callers never walk node links themselves: they wrap a node in a meta
// object and ask for entries by key. A named entry is a key node; its value
// is its first child (a string, a double - integers too - or further keys).
// Nothing here throws: an empty handle, a missing entry or a value of
// another kind yields null, 0, -1, false or the empty text, and getters
// report through their found flag whether a value was there. Setters never
// change the kind of an existing value (setKeyValue aside).
#pragma once

#include "metatree/metaObjectVirtualDataBase.h"

#include <cstdint>

class metaObjectC : public virtual metaObjectVirtualDataBaseC {
public:
    metaObjectC() = default;
    // Attaches the handle unless a more derived class attached it already.
    explicit metaObjectC(metaTreeC* node, bool own = false) { attach(node, own); }
    metaObjectC(const metaObjectC& other) : metaObjectVirtualDataBaseC(other) {}
    metaObjectC& operator=(const metaObjectC& other) {
        assign(other);
        return *this;
    }

    // ---- navigation and lookup ----
    metaTreeC* parentNode() const;
    // The node's key text, or the empty text when it is not a key.
    const str& keyText() const;
    bool isKeyNode() const;
    // A key whose text equals name byte for byte; false for a null name.
    bool isKey(const char* name) const;
    // First direct child that is the key.
    metaTreeC* findChild(const char* key) const;
    // The (nr+1)-th direct child that is the key.
    metaTreeC* findChildNr(int32_t nr, const char* key) const;
    // findChild, or else a new key child appended last.
    metaTreeC* findOrCreateChild(const char* key);
    metaTreeC* childAt(int32_t i) const;
    int32_t childCount() const;
    int32_t countKey(const char* key) const;
    // Nearest proper ancestor that is the key.
    metaTreeC* findAncestor(const char* key) const;

    // ---- the entry's value: the node's first child ----
    const str& getString(int* found = nullptr) const;
    const str& getKeyValue(int* found = nullptr) const;
    double getDouble(int* found = nullptr) const;
    // The double truncated toward zero.
    int32_t getInteger(int* found = nullptr) const;
    // Replace a value of the same kind, leave one of another kind, create
    // the value as first child when there is none.
    void setString(const char* text);
    void setDouble(double x);
    void setInteger(int32_t n);
    // Turns any existing value but MV_NONE into the key text.
    void setKeyValue(const char* text);

    // ---- the node's own value ----
    double getOwnDouble(int* found = nullptr) const;
    int32_t getOwnInteger(int* found = nullptr) const;
    void setOwnDouble(double x);
    void setOwnInteger(int32_t n);
    // Makes the node the key text, whatever it was.
    void setOwnKey(const char* text);

    // ---- structural edits ----
    // A subtree is the head of a chain. With copy set, a copy of the chain is
    // linked in; otherwise the nodes themselves move, and are first cut out
    // of any list they still belong to. An edit that would place nodes
    // below themselves is refused.
    void clearChildren();
    // The child key (appended when missing) loses its children and gets
    // subtree; returns the child.
    metaTreeC* setChild(const char* key, metaTreeC* subtree, bool copy);
    metaTreeC* setChildNr(int32_t nr, const char* key, metaTreeC* subtree, bool copy);
    // null when there is no child i.
    metaTreeC* setChildAt(int32_t i, metaTreeC* subtree, bool copy);
    // This node takes source's value and a copy of its children.
    bool replaceWith(const metaTreeC* source);
    // Returns the head of what was linked in.
    metaTreeC* appendChild(metaTreeC* subtree, bool copy);
    // A new key child, appended, with subtree below it; returns the child.
    metaTreeC* addChild(const char* key, metaTreeC* subtree = nullptr, bool copy = false);
    // Before `before` if given, else after `after`, else last; both must be
    // children of this node. Returns the head of what was linked in.
    metaTreeC* insertChild(metaTreeC* before, metaTreeC* after, metaTreeC* subtree, bool copy);
    // Moves child `from` before child `to` (to -1: to the end).
    metaTreeC* moveChild(int32_t from, int32_t to);
    bool removeChild(const char* key);
    bool removeChildNr(int32_t nr, const char* key);
    bool removeChildAt(int32_t i);
    // A new copy owned by the caller: the node alone (firstOnly) or its chain.
    metaTreeC* copy(bool hooks, bool firstOnly) const;

private:
    metaTreeC* firstValue() const { return node() ? node()->firstChild : nullptr; }
    metaTreeC* resetChild(metaTreeC* child, const char* missingKey, metaTreeC* subtree, bool copy);
    bool removeNode(metaTreeC* child);
};

// A new unlinked key node in a handle.
metaObjectC createRoot(const char* key, bool own);
