#include "metatree/iniFile.h"

#include "metatree/treeStamp.h"
#include "runtime/platform/platform.h"

#include <cstdio>
#include <cstring>

namespace {

// Reads one line of at most kIniLineChars characters: the line feed is not
// kept, a longer line is cut there and the rest of it skipped, and then one
// trailing carriage return is removed. False at the end of the file when no
// character was left.
bool readLine(std::FILE* file, char (&line)[kIniLineChars + 1]) {
    int length = 0;
    int c = std::getc(file);
    if (c == EOF)
        return false;
    for (; c != EOF && c != '\n'; c = std::getc(file)) {
        if (length < kIniLineChars)
            line[length++] = static_cast<char>(c);
    }
    if (length > 0 && line[length - 1] == '\r')
        --length;
    line[length] = '\0';
    return true;
}

// The text between from and to (exclusive) without leading and trailing
// spaces.
str trimmed(const char* from, const char* to) {
    while (from < to && *from == ' ')
        ++from;
    while (to > from && to[-1] == ' ')
        --to;
    return str(from, 0, static_cast<int>(to - from));
}

// Turns lines into sections and entries. Each new item is complete (name,
// key and text in place) before it is linked in after the item before it,
// which this reader remembers: appending to a long list costs nothing per
// line, where looking for the list's end each time would make a large file
// take quadratic time.
class iniLineReaderC {
public:
    explicit iniLineReaderC(metaTreeC* sections) : sections_(sections) {}

    void take(const char* line) {
        const char* open = std::strchr(line, '[');
        const char* close = std::strchr(line, ']');
        if (open && close && open < close) {
            iniSectionC section(createKeyNode("SECTION"));
            section.setName(trimmed(open + 1, close).text());
            entries_ = section.entries().node();
            lastEntry_ = nullptr;
            append(sections_, lastSection_, section.node());
            return;
        }
        const char* equals = line[0] == ';' ? nullptr : std::strchr(line, '=');
        if (!equals || !entries_)
            return;
        iniEntryC entry(createKeyNode("ENTRY"));
        entry.setEntryKey(trimmed(line, equals).text());
        entry.setText(equals + 1);
        append(entries_, lastEntry_, entry.node());
    }

private:
    static void append(metaTreeC* list, metaTreeC*& last, metaTreeC* item) {
        if (last) {
            item->linkAfter(last);
        } else {
            item->appendTo(list);
            bumpTreeStamp();
        }
        last = item;
    }

    metaTreeC* sections_;
    metaTreeC* lastSection_ = nullptr;
    metaTreeC* entries_ = nullptr;  // ENTRIES of the current section
    metaTreeC* lastEntry_ = nullptr;
};

// The string value of the child key of node, without creating anything.
const char* childText(const metaTreeC* node, const char* key) {
    for (const metaTreeC* child = node->firstChild; child; child = child->next)
        if (child->isKey(key))
            return child->firstChild && child->firstChild->value.kind() == MV_STRING
                       ? child->firstChild->value.text().text()
                       : "";
    return "";
}

const metaTreeC* childNode(const metaTreeC* node, const char* key) {
    for (const metaTreeC* child = node->firstChild; child; child = child->next)
        if (child->isKey(key))
            return child;
    return nullptr;
}

bool writeSections(std::FILE* file, const metaTreeC* sections) {
    bool ok = true;
    for (const metaTreeC* section = sections ? sections->firstChild : nullptr; section; section = section->next) {
        ok = std::fprintf(file, "[%s]\n", childText(section, "NAME")) >= 0 && ok;
        const metaTreeC* entries = childNode(section, "ENTRIES");
        for (const metaTreeC* entry = entries ? entries->firstChild : nullptr; entry; entry = entry->next)
            ok = std::fprintf(file, "%s=%s\n", childText(entry, "KEY"), childText(entry, "TEXT")) >= 0 && ok;
    }
    return ok;
}

}  // namespace

iniFileC readIniFile(const char* path) {
    std::FILE* file = path && platform::canRead(path) ? std::fopen(path, "rb") : nullptr;
    if (!file)
        return iniFileC();
    iniFileC ini = createIniFile(false);
    ini.setFileName(path);
    iniLineReaderC lines(ini.sections().node());
    char line[kIniLineChars + 1];
    while (readLine(file, line))
        lines.take(line);
    std::fclose(file);
    return iniFileC(ini.node(), true);
}

int writeIniFile(const metaObjectC& ini, const char* path) {
    if (!ini.valid() || !path)
        return 0;
    std::FILE* file = std::fopen(path, "w");
    if (!file)
        return 0;
    const bool written = writeSections(file, childNode(ini.node(), "SECTIONS"));
    const bool closed = std::fclose(file) == 0;
    return written && closed ? 1 : 0;
}
