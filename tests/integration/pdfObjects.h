// A PDF as the tests look into it: its objects found through the
// cross-reference table, not through the writer's own code, so that a wrong
// offset or a stream Length that does not match its data shows.
#pragma once

#include <map>
#include <string>

struct pdfObjectS {
    // The object's text from "<<" up to the stream or "endobj".
    std::string dictionary;
    // The bytes between "stream" CR LF and CR LF "endstream"; empty when the
    // object has no stream.
    std::string data;
    bool isStream = false;
};

// The objects by number; an object whose xref offset does not start
// "n 0 obj" is missing from the map.
std::map<int, pdfObjectS> pdfObjects(const std::string& pdf);

// The value of a key of a dictionary written one key a line, as the PDF
// writer writes them: the rest of the line after "/Key "; empty without it.
std::string entryOf(const std::string& dictionary, const std::string& key);

// The object number a reference "n 0 R" names; 0 when the text is not one.
int referenceTo(const std::string& value);

// zlib data inflated; empty when it is not one complete zlib stream.
std::string inflated(const std::string& zlib);
