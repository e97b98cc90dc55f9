#include "runtime/str/cLocaleGuardC.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

std::string current(int category) { return std::setlocale(category, nullptr); }

TEST(cLocaleGuardTest, HoldsCAndRestoresTheLocale) {
    // C.UTF-8 is the one locale besides C that every Debian system has.
    if (std::setlocale(LC_ALL, "C.UTF-8") == nullptr) GTEST_SKIP() << "no C.UTF-8 locale";
    {
        cLocaleGuardC guard;
        EXPECT_EQ(current(LC_NUMERIC), "C");
        EXPECT_EQ(current(LC_CTYPE), "C");
    }
    EXPECT_EQ(current(LC_NUMERIC), "C.UTF-8");
    EXPECT_EQ(current(LC_CTYPE), "C.UTF-8");
    std::setlocale(LC_ALL, "C");
}

}  // namespace
