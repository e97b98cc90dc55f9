// Escaping of texts for the quoted forms of the text formats: tab, line
// feed, carriage return, the double quote and the backslash get a backslash
// form; everything else is kept as it is.
#pragma once

#include "runtime/str/str.h"

str escape(const char* text);
// Drops each backslash and turns the byte after it back: n, r and t become
// line feed, carriage return and tab, any other byte stays itself.
str unescape(const char* text);
// The escaped text between double quotes.
str quote(const char* text);
