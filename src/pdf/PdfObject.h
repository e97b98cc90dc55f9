// Base of every PDF object the writer builds.
#pragma once

class PdfStreamBase;

// How an object is written: inline in its container (Direct), once in its own
// numbered frame (Indirect), or as a reference to a numbered object (Virtual).
enum class PdfObjectClass { Direct = 0, Indirect = 1, Virtual = 2 };

// The kind of value an object holds; the numbers are part of the interface.
enum class PdfObjectType {
    Object = 0,
    Boolean = 1,
    Number = 2,
    Real = 3,
    Text = 4,
    Binary = 5,
    Name = 6,
    Array = 7,
    Dictionary = 8,
    Stream = 9,
    UnicodeText = 10,
};

// The id tells where an object lives: 0 while nobody holds it, kOwnedId once a
// container owns it, and its positive cross-reference index once the table
// (PdfXref) owns it. Objects are created with new and handed over; whoever
// holds them deletes them.
class PdfObject {
public:
    static constexpr int kOwnedId = -1;

    PdfObject(const PdfObject&) = delete;
    PdfObject& operator=(const PdfObject&) = delete;
    virtual ~PdfObject() = default;

    virtual PdfObjectClass GetClass() const {
        return m_id > 0 ? PdfObjectClass::Indirect : PdfObjectClass::Direct;
    }
    virtual PdfObjectType GetType() const { return PdfObjectType::Object; }
    // True once a container (or the table, for a reference) holds the object.
    virtual bool IsOwned() const { return m_id < 0; }
    // Writes the value syntax of the object.
    virtual void WriteToStream(PdfStreamBase& stream) = 0;

    // Writes "id gen obj", the value and "endobj"; nothing for an object
    // that is not indirect.
    void WriteObject(PdfStreamBase& stream);

    int GetId() const { return m_id; }
    // Only containers and the cross-reference table change the id.
    void SetId(int id) { m_id = id; }
    int GetGeneration() const { return m_generation; }

protected:
    PdfObject() = default;
    explicit PdfObject(int id) : m_id(id) {}

private:
    int m_id = 0;
    int m_generation = 0;
};
