#include "presentationOptions.h"

#include "cliExit.h"
#include "pdf/3d/Pdf3dNames.h"
#include "translator/conversionOptions.h"
#include "translator/customEntryKeys.h"
#include "translator/namedViews.h"

namespace {

// An option that sets an entry from its values (joined by blanks), and
// switches that set one On or Off.
struct valueOptionS {
    const char* option;
    const char* key;
};

const valueOptionS kValueOptions[] = {
    {"--poster-dpi", kEntryPosterResolution}, {"--render-mode", kEntryRenderMode},
    {"--lighting", kEntryLightingScheme},     {"--background", kEntryBackground},
    {"--views", kEntryViews},
};

struct switchOptionS {
    const char* on;
    const char* off;
    const char* key;
};

const switchOptionS kSwitchOptions[] = {
    {"--toolbar", "--no-toolbar", kEntryToolbar},
    {"--model-tree", "--no-model-tree", kEntryModelTree},
};

// Help lines are indented to the description column and end before 80.
constexpr size_t kHelpColumn = 24;
constexpr size_t kHelpWidth = 79;

// The text, then "first, second, ..." wrapped at the help's width, every
// line it starts indented to the description column.
std::string wrapped(std::string text, const std::vector<const char*>& names) {
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string word = std::string(names[i]) + (i + 1 < names.size() ? "," : "");
        const size_t column = text.size() - (text.rfind('\n') + 1);
        if (column + 1 + word.size() > kHelpWidth)
            text += "\n" + std::string(kHelpColumn - 1, ' ');
        text += " " + word;
    }
    return text + "\n";
}

std::vector<const char*> tableNames(const Pdf3dNameTable& table) { return {table.names, table.names + table.count}; }

std::vector<const char*> viewNames() {
    std::vector<const char*> names;
    for (int view = 0; view < kNamedViewCount; ++view)
        names.push_back(namedViewName(namedViewE(view)));
    return names;
}

}  // namespace

const std::vector<cliOptionS>& presentationOptions() {
    static const std::vector<cliOptionS> options = [] {
        std::vector<cliOptionS> list = {{"--poster", nullptr, 0}, {"--no-poster", nullptr, 0}};
        for (const valueOptionS& option : kValueOptions)
            list.push_back({option.option, nullptr, option.key == kEntryBackground ? 3 : 1});
        for (const switchOptionS& option : kSwitchOptions) {
            list.push_back({option.on, nullptr, 0});
            list.push_back({option.off, nullptr, 0});
        }
        return list;
    }();
    return options;
}

std::string presentationHelp() {
    const std::string indent(kHelpColumn, ' ');
    return "How the PDF presents the model (each option sets one of the module's custom\n"
           "entries; README.md describes them):\n"
           "  --poster, --no-poster  draw the default view as the annotation's appearance,\n" +
           indent + "what viewers without 3D, printouts and 3D viewers before\n" + indent +
           "activation show. On unless the model has content that\n" + indent + "does not decode\n" +
           "  --poster-dpi N        the poster's pixels per inch, 1 to " + std::to_string(kMaxPosterResolution) +
           " (default " + std::to_string(kDefaultPosterResolution) + ")\n" +
           wrapped("  --render-mode NAME    the view's render mode (default SolidOutline):",
                   tableNames(kPdf3dRenderModes)) +
           wrapped("  --lighting NAME       the view's lighting scheme (default White):",
                   tableNames(kPdf3dLightingSchemes)) +
           "  --background R G B    the view's background colour, red, green and blue from\n" + indent +
           "0 to 1 (default 1 1 1, white)\n" +
           wrapped("  --views LIST          named views to offer besides the default one, separated\n" + indent +
                       "by commas, each looking at the centre of --bbox:",
                   viewNames()) +
           "  --toolbar, --no-toolbar\n" + indent + "show or hide the viewer's 3D toolbar (shown unless told)\n" +
           "  --model-tree, --no-model-tree\n" + indent +
           "open the viewer's panel of views and model tree with the\n" + indent +
           "model, or leave it closed (closed unless told)\n" +
           "Names are matched without regard to case.\n";
}

presentationEntriesC::presentationEntriesC(const cliArgsC& args) {
    auto refuseBoth = [&](const char* on, const char* off) {
        if (args.has(on) && args.has(off))
            usageError("convert", std::string(on) + " and " + off + " contradict each other");
    };
    refuseBoth("--poster", "--no-poster");
    posterChosen_ = args.has("--poster") || args.has("--no-poster");
    poster_ = args.has("--poster");
    if (args.has("--poster-dpi") && args.has("--no-poster"))
        usageError("convert", "--poster-dpi with --no-poster");
    for (const valueOptionS& option : kValueOptions) {
        if (!args.has(option.option))
            continue;
        std::string text;
        for (const std::string& value : args.values(option.option))
            text += (text.empty() ? "" : " ") + value;
        const str refused = refusedEntryValue(option.key, text.c_str());
        if (refused.length() > 0)
            usageError("convert", std::string(option.option) + " " + refused.text());
        entries_.push_back({option.key, text});
    }
    for (const switchOptionS& option : kSwitchOptions) {
        refuseBoth(option.on, option.off);
        if (args.has(option.on) || args.has(option.off))
            entries_.push_back({option.key, args.has(option.on) ? "On" : "Off"});
    }
}

void presentationEntriesC::appendTo(std::vector<customEntryS>& entries, bool posterByDefault) const {
    if (posterChosen_ ? poster_ : posterByDefault)
        entries.push_back({kEntryPoster, "On"});
    for (const auto& [key, text] : entries_)
        entries.push_back({key, text.c_str()});
}
