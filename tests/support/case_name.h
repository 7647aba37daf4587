#pragma once
// The names of the cases of a parameterized suite, readable and the same in every build (CTest
// lists them, and the gtest_discover_tests of tests/CMakeLists.txt takes them as they are):
// a model's name, say, with what a test's name cannot hold left out.

#include <cctype>
#include <string>
#include <string_view>

inline std::string CaseName(std::string_view text) {
    std::string name;
    for (const char c : text)
        if (std::isalnum(static_cast<unsigned char>(c)) != 0) name += c;
    return name;
}
