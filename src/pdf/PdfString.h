// String objects: literal text "(...)" and hexadecimal binary "<...>".
#pragma once

#include <cstddef>
#include <string>

#include "pdf/PdfObject.h"

// A text written as a literal string. The object keeps its own copy.
class PdfText : public PdfObject {
public:
    static constexpr size_t kMaxLength = 65535;

    explicit PdfText(const char* value = nullptr) { SetValue(value); }
    ~PdfText() override = default;
    PdfObjectType GetType() const override { return PdfObjectType::Text; }
    // Every byte that is not regular is written as a three-digit octal
    // escape, so the output is plain ASCII whatever the text holds.
    void WriteToStream(PdfStreamBase& stream) override;

    // Null or empty leaves the text absent; longer input is cut to kMaxLength.
    void SetValue(const char* value);
    // Null while the text is absent.
    const char* GetValue() const { return m_value.empty() ? nullptr : m_value.c_str(); }
    size_t GetLength() const { return m_value.size(); }

private:
    std::string m_value;
};

// Bytes written as a hexadecimal string. The object only points to the bytes:
// they must outlive every write.
class PdfBinary : public PdfObject {
public:
    PdfBinary() = default;
    ~PdfBinary() override = default;
    PdfObjectType GetType() const override { return PdfObjectType::Binary; }
    void WriteToStream(PdfStreamBase& stream) override;

    void SetData(const void* data, size_t length);
    const void* GetData() const { return m_data; }
    size_t GetLength() const { return m_length; }

private:
    const unsigned char* m_data = nullptr;
    size_t m_length = 0;
};
