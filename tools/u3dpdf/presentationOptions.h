// The options of convert that set how the PDF presents the model: the
// poster, the default view's render mode, lighting and background, named
// views and the viewer's panels. Each becomes one of the module's custom
// entries (translator/customEntryKeys.h), checked here by the module's own
// rules, so that a value the module would refuse is a usage error before
// anything is written.
#pragma once

#include "cliArgs.h"
#include "conversionRequest.h"

#include <string>
#include <vector>

// The options, for the command's option table.
const std::vector<cliOptionS>& presentationOptions();

// Their part of the command's help, with the names each option takes.
std::string presentationHelp();

// The custom entries for the options given; the texts live as long as the
// object.
class presentationEntriesC {
public:
    // A value the module does not take, and options that contradict each
    // other, are usage errors of the command, found before any work.
    explicit presentationEntriesC(const cliArgsC& args);

    // Whether --poster or --no-poster was given.
    bool posterChosen() const { return posterChosen_; }
    // Appends the entries, in the order the module reads them. Without
    // --poster or --no-poster, posterByDefault says whether to ask for one.
    void appendTo(std::vector<customEntryS>& entries, bool posterByDefault) const;

private:
    bool posterChosen_ = false;
    bool poster_ = false;
    std::vector<std::pair<const char*, std::string>> entries_;
};
