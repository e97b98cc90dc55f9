#include "translator/conversionOptions.h"

#include "translator/conversionError.h"
#include "translator/customEntryKeys.h"
#include "translator/requestTree.h"

namespace {

// The longest part of a refused value that its message quotes.
constexpr int kQuotedValueLength = 60;

// One custom entry: its key, how its text sets the options (false for a
// text it does not take) and what it takes, in the words of the message.
struct customEntryS {
    const char* key;
    bool (*read)(const str& text, conversionOptionsS& options);
    const char* takes;
};

// The words a switch takes, compared in lower case.
const struct {
    const char* word;
    bool value;
} kSwitchWords[] = {
    {"on", true}, {"yes", true}, {"true", true}, {"1", true},
    {"off", false}, {"no", false}, {"false", false}, {"0", false},
};

bool readSwitch(const str& text, bool& value) {
    str word = text;
    word.toLower();
    for (const auto& known : kSwitchWords)
        if (word == known.word) {
            value = known.value;
            return true;
        }
    return false;
}

const customEntryS kCustomEntries[] = {
    {kEntryCenterView, [](const str& text, conversionOptionsS& o) { return readSwitch(text, o.centerView); },
     "On or Off"},
};

}  // namespace

conversionOptionsReadS readConversionOptions(requestEntriesC entries) {
    conversionOptionsReadS read;
    for (const customEntryS& entry : kCustomEntries) {
        const requestEntryC found = entries.findENTRY(entry.key);
        if (!found.valid())
            continue;
        // An entry without a text value reads as the empty text, which no
        // entry takes.
        const str& text = found.findTEXT();
        if (entry.read(text, read.options) || read.error.length() > 0)
            continue;
        read.error = str("the custom entry ") + entry.key + " does not take \"" +
                     oneLine(text.text(), kQuotedValueLength) + "\": use " + entry.takes;
    }
    return read;
}
