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
    // posterByDefault: the poster is drawn unless --no-poster says
    // otherwise. A value the module does not take, and options that
    // contradict each other, are usage errors of the command.
    presentationEntriesC(const cliArgsC& args, bool posterByDefault);

    // Whether the entries ask for a poster.
    bool poster() const { return poster_; }
    // Appends the entries, in the order the module reads them.
    void appendTo(std::vector<customEntryS>& entries) const;

private:
    bool poster_ = false;
    std::vector<std::pair<const char*, std::string>> entries_;
};
