// Common base of the page-tree nodes: pages and page-tree nodes.
#pragma once

#include "pdf/PdfDictionary.h"

class PdfPages;

// A node is always an indirect object of its document's table; attributes
// such as Resources and MediaBox are looked up through the parent chain.
class PdfPageBase : public PdfDictionary {
public:
    explicit PdfPageBase(PdfXref& xref) : PdfDictionary(&xref) {}
    ~PdfPageBase() override = default;

    // Registers the node with the table, making it indirect. The table owns
    // the node from this call on, also when it fails.
    virtual void Init();
    // Pages at and below this node.
    virtual int GetPageCount() = 0;

    // The value of key on this node, else on the nearest ancestor that has
    // it; null when none has.
    PdfObject* GetInheritableElement(const char* key) const;
    PdfPages* GetParent() const { return m_parent; }

protected:
    void SetParent(PdfPages* parent) { m_parent = parent; }
    PdfXref& Xref() const { return *GetXref(); }

private:
    PdfPages* m_parent = nullptr;
};
