#include "translator/conversionOptions.h"

#include "pdf/3d/Pdf3dNames.h"
#include "translator/conversionError.h"
#include "translator/customEntryKeys.h"
#include "translator/namedViews.h"
#include "translator/requestTree.h"

#include <cctype>
#include <charconv>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

// The longest part of a refused value that its message quotes.
constexpr int kQuotedValueLength = 60;

// One custom entry: its key, how its text sets the options (false for a
// text it does not take) and what it takes, in the words of the message.
struct customEntryS {
    const char* key;
    bool (*read)(const char* text, conversionOptionsS& options);
    str (*takes)();
};

// The words a switch takes, compared in lower case.
const struct {
    const char* word;
    bool value;
} kSwitchWords[] = {
    {"on", true}, {"yes", true}, {"true", true}, {"1", true},
    {"off", false}, {"no", false}, {"false", false}, {"0", false},
};

bool sameNoCase(std::string_view a, const char* b) {
    if (a.size() != std::strlen(b))
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool readSwitch(const char* text, bool& value) {
    for (const auto& known : kSwitchWords)
        if (sameNoCase(text, known.word)) {
            value = known.value;
            return true;
        }
    return false;
}

bool readOptionalSwitch(const char* text, std::optional<bool>& value) {
    bool on;
    if (!readSwitch(text, on))
        return false;
    value = on;
    return true;
}

// The words of a list: separated by blanks or commas, none empty.
std::vector<std::string_view> words(const char* text) {
    std::vector<std::string_view> found;
    const std::string_view all(text);
    size_t at = 0;
    while (at < all.size()) {
        const size_t begin = all.find_first_not_of(" \t,", at);
        if (begin == std::string_view::npos)
            break;
        const size_t end = std::min(all.find_first_of(" \t,", begin), all.size());
        found.push_back(all.substr(begin, end - begin));
        at = end;
    }
    return found;
}

// A whole number written in decimal digits alone, from low to high.
bool readWhole(std::string_view word, int low, int high, int& value) {
    int read = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), read);
    if (word.empty() || error != std::errc() || end != word.data() + word.size() || word[0] == '-' ||
        read < low || read > high)
        return false;
    value = read;
    return true;
}

bool readResolution(const char* text, int& value) {
    const std::vector<std::string_view> list = words(text);
    return list.size() == 1 && readWhole(list[0], 1, kMaxPosterResolution, value);
}

// A number from 0 to 1 in decimal notation ("0", "0.25", "1"); no sign,
// and neither infinity nor NaN get through the range test.
bool readFraction(std::string_view word, double& value) {
    double read = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), read);
    if (word.empty() || error != std::errc() || end != word.data() + word.size() || word[0] == '-' ||
        !(read >= 0 && read <= 1))
        return false;
    value = read;
    return true;
}

bool readColour(const char* text, std::optional<std::array<double, 3>>& colour) {
    const std::vector<std::string_view> list = words(text);
    std::array<double, 3> read{};
    if (list.size() != read.size())
        return false;
    for (size_t i = 0; i < read.size(); ++i)
        if (!readFraction(list[i], read[i]))
            return false;
    colour = read;
    return true;
}

// A name of the table, in any case; the index is the table's.
bool readName(const char* text, const Pdf3dNameTable& table, int& index) {
    for (int i = 0; i < table.count; ++i)
        if (sameNoCase(text, table.names[i])) {
            index = i;
            return true;
        }
    return false;
}

bool readViews(const char* text, unsigned& views) {
    unsigned read = 0;
    const std::vector<std::string_view> list = words(text);
    for (std::string_view word : list) {
        int view = 0;
        while (view < kNamedViewCount && !sameNoCase(word, namedViewName(namedViewE(view))))
            ++view;
        if (view == kNamedViewCount)
            return false;
        read |= 1u << view;
    }
    if (list.empty())
        return false;
    views = read;
    return true;
}

// The names a value may take, after lead: "one of A, B, C".
str nameList(const char* lead, const char* const* names, int count) {
    str text(lead);
    for (int i = 0; i < count; ++i)
        text += str(i ? ", " : "") + names[i];
    return text;
}

str switchWords() { return "On or Off"; }

const customEntryS kCustomEntries[] = {
    {kEntryCenterView, [](const char* t, conversionOptionsS& o) { return readSwitch(t, o.centerView); },
     switchWords},
    {kEntryPoster, [](const char* t, conversionOptionsS& o) { return readSwitch(t, o.poster); }, switchWords},
    {kEntryPosterResolution,
     [](const char* t, conversionOptionsS& o) { return readResolution(t, o.posterResolution); },
     [] { return str("a whole number of pixels per inch from 1 to ") + str(kMaxPosterResolution); }},
    {kEntryRenderMode,
     [](const char* t, conversionOptionsS& o) { return readName(t, kPdf3dRenderModes, o.renderMode); },
     [] { return nameList("one of ", kPdf3dRenderModes.names, kPdf3dRenderModes.count); }},
    {kEntryLightingScheme,
     [](const char* t, conversionOptionsS& o) { return readName(t, kPdf3dLightingSchemes, o.lightingScheme); },
     [] { return nameList("one of ", kPdf3dLightingSchemes.names, kPdf3dLightingSchemes.count); }},
    {kEntryBackground, [](const char* t, conversionOptionsS& o) { return readColour(t, o.background); },
     [] { return str("red, green and blue, three numbers from 0 to 1"); }},
    {kEntryViews, [](const char* t, conversionOptionsS& o) { return readViews(t, o.views); },
     [] {
         const char* names[kNamedViewCount];
         for (int view = 0; view < kNamedViewCount; ++view)
             names[view] = namedViewName(namedViewE(view));
         return nameList("a list of ", names, kNamedViewCount);
     }},
    {kEntryToolbar, [](const char* t, conversionOptionsS& o) { return readOptionalSwitch(t, o.toolbar); },
     switchWords},
    {kEntryModelTree, [](const char* t, conversionOptionsS& o) { return readOptionalSwitch(t, o.modelTree); },
     switchWords},
};

str refusal(const customEntryS& entry, const char* text) {
    return str("does not take \"") + oneLine(text, kQuotedValueLength) + "\": use " + entry.takes();
}

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
        if (entry.read(text.text(), read.options) || read.error.length() > 0)
            continue;
        read.error = str("the custom entry ") + entry.key + " " + refusal(entry, text.text());
    }
    return read;
}

str refusedEntryValue(const char* key, const char* text) {
    for (const customEntryS& entry : kCustomEntries) {
        conversionOptionsS scratch;
        if (sameNoCase(key, entry.key))
            return entry.read(text, scratch) ? str() : refusal(entry, text);
    }
    return {};
}
