#include "pdf/PdfInfo.h"

#include "pdf/PdfString.h"

void PdfInfo::SetProducer(const char* text) { AddElement("Producer", new PdfText(text)); }
