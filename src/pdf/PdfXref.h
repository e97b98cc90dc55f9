// The cross-reference table: owner and numbering of the indirect objects.
#pragma once

#include <cstdint>
#include <memory>

#include "pdf/PdfObject.h"
#include "pdf/PdfPtrList.h"

class PdfDoc;

// One line of the table: where an object's frame starts in the output.
class PdfXrefEntry {
public:
    PdfXrefEntry(char type, int generation, std::unique_ptr<PdfObject> object)
        : m_type(type), m_generation(generation), m_object(std::move(object)) {}
    ~PdfXrefEntry() = default;

    char GetType() const { return m_type; }
    int64_t GetOffset() const { return m_offset; }
    void SetOffset(int64_t offset) { m_offset = offset; }
    int GetGeneration() const { return m_generation; }
    PdfObject* GetObject() const { return m_object.get(); }

private:
    char m_type;           // 'f' for the free head entry, 'n' for an object
    int64_t m_offset = 0;
    int m_generation;
    std::unique_ptr<PdfObject> m_object;
};

// Entry 0 is the free head; every registered object takes the next index as
// its id and is deleted with the table. Writing puts the objects out in id
// order, each at a recorded offset, followed by the table itself.
class PdfXref {
public:
    // The table's offsets have ten digits.
    static constexpr int64_t kMaxOffset = 9999999999;

    explicit PdfXref(PdfDoc* doc = nullptr);
    ~PdfXref();
    PdfXref(const PdfXref&) = delete;
    PdfXref& operator=(const PdfXref&) = delete;

    // Creates the list with the free head entry; nothing once it exists.
    void Init();
    // Registers a fresh object (not held by anything, not a reference) and
    // returns its new id. The table owns the object from the call on: if
    // the entry cannot be stored, the object is deleted. An object that is
    // held already is refused with -5 and left with its holder.
    int AddObject(PdfObject* object);
    // The object with that id, or null.
    PdfObject* GetObject(int id) const;
    // Entries, the free head included.
    int GetCount() const { return m_entries ? m_entries->GetCount() : 0; }
    // Writes every object and the table; -4 when an offset needs more than
    // ten digits.
    void WriteToStream(PdfStreamBase& stream);

    // Offset of "xref" in the last output.
    int64_t GetAddress() const { return m_address; }
    // The document that owns the table; null for a table of its own.
    PdfDoc* GetDoc() const { return m_doc; }

private:
    void WriteEntryLine(PdfStreamBase& stream, const PdfXrefEntry& entry);

    std::unique_ptr<PdfPtrListOf<PdfXrefEntry>> m_entries;
    int64_t m_address = 0;
    PdfDoc* m_doc;
};
