// The small value objects: integer, real, boolean and reference.
#pragma once

#include <cstdint>

#include "pdf/PdfObject.h"

// An integer. Held in 64 bits so that stream lengths and other byte counts
// of large files are written as they are; any int writes exactly as "%d".
class PdfNumber : public PdfObject {
public:
    explicit PdfNumber(int64_t value = 0) : m_value(value) {}
    ~PdfNumber() override = default;
    PdfObjectType GetType() const override { return PdfObjectType::Number; }
    void WriteToStream(PdfStreamBase& stream) override;

    int64_t GetValue() const { return m_value; }
    void SetValue(int64_t value) { m_value = value; }

private:
    int64_t m_value;
};

// A real, written by the stream's real writer (at most 5 decimals, magnitude
// at most 32767).
class PdfReal : public PdfObject {
public:
    explicit PdfReal(double value = 0) : m_value(value) {}
    ~PdfReal() override = default;
    PdfObjectType GetType() const override { return PdfObjectType::Real; }
    void WriteToStream(PdfStreamBase& stream) override;

    double GetValue() const { return m_value; }
    void SetValue(double value) { m_value = value; }

private:
    double m_value;
};

class PdfBoolean : public PdfObject {
public:
    explicit PdfBoolean(bool value = false) : m_value(value) {}
    ~PdfBoolean() override = default;
    PdfObjectType GetType() const override { return PdfObjectType::Boolean; }
    void WriteToStream(PdfStreamBase& stream) override;

    bool GetValue() const { return m_value; }
    void SetValue(bool value) { m_value = value; }

private:
    bool m_value;
};

// A reference "id 0 R" to an indirect object. Containers create one for every
// indirect object placed in them; the id is that of the object referred to.
class PdfVirtualObject : public PdfObject {
public:
    explicit PdfVirtualObject(int id) : PdfObject(id) {}
    ~PdfVirtualObject() override = default;
    PdfObjectClass GetClass() const override { return PdfObjectClass::Virtual; }
    bool IsOwned() const override { return true; }
    void WriteToStream(PdfStreamBase& stream) override;
};
