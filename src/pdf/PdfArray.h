// Array objects ("[a b c ]").
#pragma once

#include "pdf/PdfObject.h"
#include "pdf/PdfPtrList.h"

class PdfXref;

// Owns its direct items and stores indirect objects as references, resolved
// through the table given at construction.
class PdfArray : public PdfObject {
public:
    static constexpr int kMaxItems = 22000;

    explicit PdfArray(PdfXref* xref);
    ~PdfArray() override;
    PdfObjectType GetType() const override { return PdfObjectType::Array; }
    void WriteToStream(PdfStreamBase& stream) override;

    // Takes a direct object over (also when the call fails, then it is
    // deleted); an indirect one is added as a reference. Null is ignored.
    void Add(PdfObject* object);
    void Insert(PdfObject* object, int index);
    // Borrowed item, references resolved; null when index is out of range.
    PdfObject* GetItem(int index) const;
    // A real or integer item as double; 0 for anything else.
    double GetItemAsReal(int index) const;
    // Appends the four values as reals.
    void AddRect(double a, double b, double c, double d);
    int GetCount() const { return m_items.GetCount(); }
    // Deletes every item.
    void Clear();

    PdfXref* GetXref() const { return m_xref; }

private:
    PdfPtrListOf<PdfObject> m_items;
    PdfXref* m_xref;
};
