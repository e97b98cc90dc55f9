// A compact one-line picture of a meta tree, for comparing whole trees:
// keys bare, texts quoted, numbers as "%g"; children in parentheses.
//   DLLIFACE(INFO(NAME('U3D Translator')),IOPAIRS)
#pragma once

#include <initializer_list>
#include <string>

class metaTreeC;

std::string treeText(const metaTreeC* node);

// Builders for request trees: a key, a text or a number appended under parent.
metaTreeC* addKey(metaTreeC* parent, const char* key);
metaTreeC* addText(metaTreeC* parent, const char* key, const char* text);
metaTreeC* addNumbers(metaTreeC* parent, const char* key, std::initializer_list<double> values);
