// The rules by which arrays and dictionaries take objects in and give them
// back; shared so that both containers own objects the same way.
#pragma once

class PdfObject;
class PdfXref;

namespace pdf_container {

// Throws -5 when object is a direct object that another container owns
// already: taking it would make two owners delete it. containerId is the
// receiving container's id, which the message names.
void RequireUnowned(const PdfObject* object, int containerId);

// What the container stores for object: the object itself when it is direct
// or a reference object (the container becomes its owner), or a new
// reference when it is indirect (the table keeps the object).
PdfObject* Adopt(PdfObject* object);

// Deletes an object that a container refused, when the container would have
// owned it: callers hand objects over for good, even when the call fails.
void DiscardRefused(PdfObject* object);

// A stored reference resolved through the table (null without table or
// entry); any other item as it is.
PdfObject* Resolve(PdfObject* item, const PdfXref* xref);

}  // namespace pdf_container
