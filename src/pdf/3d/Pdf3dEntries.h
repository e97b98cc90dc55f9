// Entries of the 3D dictionaries that come into being on first use.
#pragma once

#include "pdf/PdfDictionary.h"
#include "pdf/PdfName.h"

// The value under key when it is a T; otherwise make() builds one, which is
// added under key (replacing whatever was there) and returned. Every 3D
// entry has a default, so readers never see a missing one.
template <class T, class Make>
T* Pdf3dEntry(PdfDictionary& dictionary, const char* key, Make make) {
    if (T* found = dynamic_cast<T*>(dictionary.GetElement(key)))
        return found;
    T* created = make();
    dictionary.AddElement(key, created);
    return created;
}

// The name under key, added with defaultName when missing. Callers change
// its value in place, so the entry keeps its position in the dictionary.
PdfName* Pdf3dNameEntry(PdfDictionary& dictionary, const char* key, const char* defaultName);
