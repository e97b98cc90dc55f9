// Name objects ("/Type").
#pragma once

#include "pdf/PdfObject.h"

// Holds up to kMaxLength bytes inside the object: names are small and many,
// so they need no allocation of their own.
class PdfName : public PdfObject {
public:
    static constexpr int kMaxLength = 127;

    explicit PdfName(const char* value = nullptr) { SetValue(value); }
    ~PdfName() override = default;
    PdfObjectType GetType() const override { return PdfObjectType::Name; }
    // "/" and the bytes, with "#XX" for every byte that is not regular.
    void WriteToStream(PdfStreamBase& stream) override;

    const char* GetValue() const { return m_value; }
    // Keeps the first kMaxLength bytes; null stores the empty name.
    void SetValue(const char* value);
    // True when the text, cut as SetValue would cut it, equals the name.
    bool EqualTo(const char* text) const;

private:
    char m_value[kMaxLength + 1];
};
