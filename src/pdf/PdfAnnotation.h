// Annotation dictionaries (/Type /Annot): the common base.
#pragma once

#include "pdf/PdfDictionary.h"

class PdfStream;

// Index into the subtype names; the values are part of the interface.
enum PdfAnnotationType {
    PdfAnnotText = 0,
    PdfAnnotLink = 1,
    PdfAnnotSound = 2,
    PdfAnnotFreeText = 3,
    PdfAnnotStamp = 4,
    PdfAnnotSquare = 5,
    PdfAnnotCircle = 6,
    PdfAnnotStrikeOut = 7,
    PdfAnnotHighlight = 8,
    PdfAnnotUnderline = 9,
    PdfAnnotInk = 10,
    PdfAnnotFileAttachment = 11,
    PdfAnnotPopup = 12,
};

// Annotation flags (ISO 32000-1, 12.5.3, Table 165), as bits of F.
enum PdfAnnotationFlag {
    // Printed with the page; without it a printout leaves the annotation out.
    PdfAnnotFlagPrint = 4,
};

// Sets Type and Subtype and keeps a validated Rect. A PDF annotation
// without Rect is invalid, so writing one is refused (-5) rather than
// producing a file that viewers reject.
class PdfAnnotation : public PdfDictionary {
public:
    // Adds Type "Annot" and the Subtype name of type; -5 for a type that is
    // not a PdfAnnotationType.
    PdfAnnotation(PdfXref* xref, PdfAnnotationType type);
    ~PdfAnnotation() override = default;
    // The dictionary; -5 when it has no Rect.
    void WriteToStream(PdfStreamBase& stream) override;

    // Rect [left bottom right top]; -5 and no change unless left < right and
    // bottom < top. A second call replaces Rect and moves it to the end.
    void SetRect(double left, double bottom, double right, double top);

    // F, the annotation flags (PdfAnnotationFlag bits); replaces F and moves
    // it to the end.
    void SetFlags(int flags);
    // N of the appearance dictionary AP (12.5.5): what viewers show for the
    // annotation, and all that viewers show that cannot draw its kind. A
    // form XObject registered with the table (-5 otherwise), stored as a
    // reference; AP is added when missing.
    void SetNormalAppearance(PdfStream* form);

    PdfAnnotationType GetAnnotationType() const { return m_type; }
    double GetLeft() const { return m_left; }
    double GetBottom() const { return m_bottom; }
    double GetRight() const { return m_right; }
    double GetTop() const { return m_top; }

private:
    PdfAnnotationType m_type;
    double m_left = 0;
    double m_bottom = 0;
    double m_right = 0;
    double m_top = 0;
};
