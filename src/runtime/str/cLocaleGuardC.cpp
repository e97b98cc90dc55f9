#include "runtime/str/cLocaleGuardC.h"

#include <clocale>

namespace {

void holdAtC(int category) {
    std::setlocale(category, "");
    std::setlocale(category, "C");
}

void restore(int category, const str& saved) {
    std::setlocale(category, "");
    std::setlocale(category, saved.text());
}

}  // namespace

cLocaleGuardC::cLocaleGuardC()
    : numeric_(std::setlocale(LC_NUMERIC, nullptr)), ctype_(std::setlocale(LC_CTYPE, nullptr)) {
    holdAtC(LC_NUMERIC);
    holdAtC(LC_CTYPE);
}

cLocaleGuardC::~cLocaleGuardC() {
    restore(LC_NUMERIC, numeric_);
    restore(LC_CTYPE, ctype_);
}
