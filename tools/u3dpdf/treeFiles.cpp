#include "treeFiles.h"

#include "cliExit.h"
#include "metatree/iniFile.h"
#include "metatree/metaTreeTextReader.h"
#include "metatree/metaTreeTextSave.h"
#include "runtime/str/str.h"

#include <cstdio>

metaObjectC loadBracedTree(const std::string& path) {
    metaTreeTextReaderC reader;
    // Read without ownership and handed over in a new handle: copying an
    // owning handle would copy the whole tree.
    const metaObjectC loaded = reader.loadTreeFromFile(path.c_str(), false);
    if (reader.failed()) {
        // The reader leaves its message empty when it read nothing at all.
        if (reader.message().length() == 0)
            inputError("cannot read " + path);
        inputError(path + ": " + reader.errorText().text());
    }
    return metaObjectC(loaded.node(), true);
}

iniFileC loadIniTree(const std::string& path) {
    iniFileC ini = readIniFile(path.c_str());
    if (!ini.valid())
        inputError("cannot read " + path);
    metaTreeC* root = ini.node();
    ini.detach(false);
    return iniFileC(root, true);
}

void printTree(const metaObjectVirtualDataBaseC& tree, bool pretty) {
    str text;
    if (tree.valid() && !saveTreeToString(tree, text, false, pretty))
        inputError("the tree is too large to write as text");
    text.appendChar('\n');
    const size_t length = static_cast<size_t>(text.length());
    if (std::fwrite(text.text(), 1, length, stdout) != length || std::fflush(stdout) != 0)
        inputError("cannot write to standard output");
}
