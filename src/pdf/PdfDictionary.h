// Dictionary objects ("<< /Key value >>").
#pragma once

#include <memory>

#include "pdf/PdfName.h"
#include "pdf/PdfObject.h"
#include "pdf/PdfPtrList.h"

class PdfXref;

// One key and its value, both owned by the element.
class PdfDictElement {
public:
    PdfDictElement(const char* key, std::unique_ptr<PdfObject> value)
        : m_key(key), m_value(std::move(value)) {}
    ~PdfDictElement() = default;

    const PdfName& GetKey() const { return m_key; }
    PdfName& GetKey() { return m_key; }
    // The stored value: a direct object or a reference.
    PdfObject* GetValue() const { return m_value.get(); }

private:
    PdfName m_key;
    std::unique_ptr<PdfObject> m_value;
};

// Keys are unique and kept in insertion order, which is the written order; a
// re-added key replaces its value and moves to the end. Lookup is linear,
// which suits the few keys a PDF dictionary has.
class PdfDictionary : public PdfObject {
public:
    static constexpr int kMaxElements = 4095;

    explicit PdfDictionary(PdfXref* xref);
    ~PdfDictionary() override;
    PdfObjectType GetType() const override { return PdfObjectType::Dictionary; }
    void WriteToStream(PdfStreamBase& stream) override;

    // Takes a direct object over (also when the call fails, then it is
    // deleted); an indirect one is stored as a reference. Null is ignored.
    void AddElement(const char* key, PdfObject* object);
    // Destroys the element with that key, if any.
    void RemoveElement(const char* key);
    PdfDictElement* FindElement(const char* key) const;
    // Borrowed value, references resolved; null when the key is missing.
    PdfObject* GetElement(const char* key) const;
    int GetCount() const { return m_elements.GetCount(); }
    // AddElement("Type", name).
    void SetTypeName(const char* name);

    PdfXref* GetXref() const { return m_xref; }

private:
    int IndexOf(const char* key) const;

    PdfPtrListOf<PdfDictElement> m_elements;
    PdfXref* m_xref;
};
