// Meta trees stated in one line, for tests that compare whole trees:
//   DLLIFACE(INFO(NAME('U3D Translator')),IOPAIRS),NEXT
// keys bare, texts quoted, numbers as "%g", a node's children in
// parentheses, chain members separated by commas.
#pragma once

#include <initializer_list>
#include <string>

class metaTreeC;

// The node and its children; empty for null.
std::string treeText(const metaTreeC* node);
// The node, its children and every node after it in its chain.
std::string chainText(const metaTreeC* first);

// Builders for request trees: a key, a text or a number appended under parent.
metaTreeC* addKey(metaTreeC* parent, const char* key);
metaTreeC* addText(metaTreeC* parent, const char* key, const char* text);
metaTreeC* addNumbers(metaTreeC* parent, const char* key, std::initializer_list<double> values);
