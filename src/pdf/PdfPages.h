// Page-tree nodes (/Type /Pages), the root being object 2.
#pragma once

#include "pdf/PdfPageBase.h"

class PdfArray;
class PdfPage;

// Holds its children as references in Kids; Count is recomputed whenever
// the node is written.
class PdfPages : public PdfPageBase {
public:
    explicit PdfPages(PdfXref& xref) : PdfPageBase(xref) {}
    ~PdfPages() override = default;

    // Registers the node and gives it Type and an empty Kids array.
    void Init() override;
    int GetPageCount() override;
    void WriteToStream(PdfStreamBase& stream) override;

    // Creates, registers and attaches a new page: -1 appends, 0..count
    // inserts there; -5 for any other index. The page becomes the
    // document's current page.
    PdfPage* AddPage(int index = -1);
    // Appends (inserts) an indirect node to Kids and sets its Parent.
    void AddKid(PdfPageBase* kid);
    void InsertKid(PdfPageBase* kid, int index);
    // Null before Init.
    PdfArray* GetKids() const;

private:
    // -5 unless both this node and kid are registered and Kids exists: a
    // direct node would be swallowed by the container it is put in.
    PdfArray& KidsFor(const PdfPageBase* kid) const;
};
