#include "runtime/str/cLocaleGuardC.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

std::string current(int category) { return std::setlocale(category, nullptr); }

TEST(CLocaleGuardTest, HoldsCAndRestoresTheLocale) {
    // A locale besides C that every system of its kind has: C.UTF-8 on
    // Debian, the German one (a decimal comma) on Windows.
#ifdef _WIN32
    const char* other = std::setlocale(LC_ALL, "German_Germany.1252");
#else
    const char* other = std::setlocale(LC_ALL, "C.UTF-8");
#endif
    if (other == nullptr) GTEST_SKIP() << "no locale besides C";
    const std::string name = other;
    {
        cLocaleGuardC guard;
        EXPECT_EQ(current(LC_NUMERIC), "C");
        EXPECT_EQ(current(LC_CTYPE), "C");
    }
    EXPECT_EQ(current(LC_NUMERIC), name);
    EXPECT_EQ(current(LC_CTYPE), name);
    std::setlocale(LC_ALL, "C");
}

}  // namespace
