// The parser and the three loads of the braced reader.
#include "metatree/metaTreeTextReader.h"

#include "metatree/metaHooks.h"
#include "metatree/treeStamp.h"
#include "runtime/platform/platform.h"
#include "runtime/str/cLocaleGuardC.h"
#include "runtime/str/strEscape.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

metaTreeTextReaderC::metaTreeTextReaderC(size_t maxTokenBytes)
    : maxTokenBytes_(maxTokenBytes < kMaxTokenBytes ? maxTokenBytes : kMaxTokenBytes) {}

metaTreeTextReaderC::~metaTreeTextReaderC() { closeStream(); }

void metaTreeTextReaderC::begin() {
    closeStream();
    token_ = kTokenEnd;
    depth_ = 0;
    failed_ = false;
    message_ = str();
    tokenLength_ = 0;
    line_ = 1;
}

void metaTreeTextReaderC::closeStream() {
    if (ownsStream_ && stream_)
        std::fclose(stream_);
    stream_ = nullptr;
    ownsStream_ = false;
}

void metaTreeTextReaderC::fail(const char* message) {
    if (failed_)
        return;
    failed_ = true;
    message_ = message;
}

str metaTreeTextReaderC::errorText() const {
    str text("Line:");
    text.append(str(static_cast<int>(line_)));
    text.append(" - ");
    text.append(message_);
    return text;
}

metaObjectC metaTreeTextReaderC::loadTreeFromFile(const char* path, bool own) {
    begin();
    std::FILE* file = path && platform::canRead(path) ? std::fopen(path, "rb") : nullptr;
    if (!file) {
        // Nothing was read: no line to blame and no parse message.
        failed_ = true;
        return metaObjectC();
    }
    stream_ = file;
    ownsStream_ = true;
    source_.openStream(file);
    metaTreeC* chain = load();
    closeStream();
    return metaObjectC(chain, own);
}

metaObjectC metaTreeTextReaderC::loadTreeFromString(const char* text, bool own) {
    begin();
    source_.openText(text);
    return metaObjectC(load(), own);
}

metaObjectC metaTreeTextReaderC::loadTreeFromStream(std::FILE* stream, bool own) {
    begin();
    if (!stream) {
        failed_ = true;
        return metaObjectC();
    }
    stream_ = stream;
    source_.openStream(stream);
    return metaObjectC(load(), own);
}

metaTreeC* metaTreeTextReaderC::load() {
    cLocaleGuardC cLocale;
    metaTreeC* chain = parse();
    if (!failed_ && !source_.atEnd()) {
        // The input stopped early on a read error: what was read is not the
        // whole tree.
        fail("eof fail");
        delete chain;
        chain = nullptr;
    }
    if (chain)
        runLoadHooks(chain, true);
    return chain;
}

metaTreeC* metaTreeTextReaderC::tokenNode() {
    const metaSrcPosS pos = metaSrcPosS::textLine(line_);
    const char* text = tokenText();
    if (token_ == kTokenString) {
        // Most strings hold no escape: they skip the unescaped copy.
        if (!std::memchr(text, '\\', tokenLength_))
            return new metaTreeC(metaValueC(MV_STRING, pos, text));
        return new metaTreeC(metaValueC(MV_STRING, pos, unescape(text)));
    }
    const char first = text[0];
    if (!((first >= '0' && first <= '9') || first == '.' || first == '+' || first == '-'))
        return new metaTreeC(metaValueC(MV_KEY, pos, text));
    char* end = nullptr;
    const double x = std::strtod(text, &end);
    // A number must be the whole word. It must also be finite: an infinity
    // or NaN would be written back as a word that reads as a key ("inf") or
    // not at all, and a number beyond the double range is no value either.
    if (end != text + tokenLength_ || !std::isfinite(x)) {
        str message("value invalid :");
        message.append(text);
        fail(message.text());
        return nullptr;
    }
    return new metaTreeC(metaValueC(MV_DOUBLE, pos, x));
}

namespace {

// A child list being read: its first node and its last node so far.
struct listS {
    metaTreeC* head = nullptr;
    metaTreeC* last = nullptr;

    void add(metaTreeC* node) {
        if (last)
            node->linkAfter(last);
        else
            head = node;
        last = node;
    }
};

}  // namespace

// One loop over all tokens. The lists whose brace group is still open wait
// on a stack; a closed group's list goes in front of the children of the
// node before its "{" (so "A{B}{C}" gives A the children C, B).
metaTreeC* metaTreeTextReaderC::parse() {
    std::vector<listS> open;
    listS list;
    for (;;) {
        nextToken();
        if (failed_)
            break;
        if (token_ == kTokenWord || token_ == kTokenString) {
            metaTreeC* node = tokenNode();
            if (!node)
                break;
            list.add(node);
        } else if (token_ == kTokenOpen) {
            if (!list.last) {
                fail("section without key found");
                break;
            }
            if (depth_ == INT32_MAX) {  // more open braces than the count holds
                fail("section count wrong");
                break;
            }
            ++depth_;
            open.push_back(list);
            list = listS();
        } else if (token_ == kTokenClose) {
            if (--depth_ < 0) {
                fail("section count wrong");
                break;
            }
            listS outer = open.back();
            open.pop_back();
            if (list.head) {
                list.head->prependTo(outer.last);
                bumpTreeStamp();
            }
            list = outer;
        } else {
            if (depth_ != 0) {
                fail("section count wrong");
                break;
            }
            return list.head;
        }
    }
    delete list.head;
    for (const listS& waiting : open)
        delete waiting.head;
    return nullptr;
}
