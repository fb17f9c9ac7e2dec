#include "dbaccess/odbc/StatementText.h"

#include <gtest/gtest.h>
#include <string>

namespace {

struct TextPair {
    std::string input;
    std::string expected;
};

void PrintTo(const TextPair& c, std::ostream* os) {
    *os << testing::PrintToString(c.input);
}

// Parameter markers in statement texts.

class ParameterMarkers : public testing::TestWithParam<TextPair> {};

TEST_P(ParameterMarkers, AreReplaced) {
    EXPECT_EQ(replaceParameterMarkers(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParameterMarkers,
    testing::Values(TextPair{"a:b", "a?"}, TextPair{"a::b", "a:b"},
                    TextPair{"select * from t where a = :a", "select * from t where a = ?"},
                    TextPair{"x = :p1 and y = :p2", "x = ? and y = ?"},
                    TextPair{"values (:a,:b)", "values (?,?)"},
                    TextPair{"where a=:a;", "where a=?;"}, TextPair{":a\nand b", "?\nand b"},
                    TextPair{":a\r\n", "?\r\n"}, TextPair{"'it:s' || :x", "'it:s' || ?"},
                    TextPair{"\"col:x\" = 1", "\"col:x\" = 1"}, TextPair{"`a:b`", "`a:b`"},
                    TextPair{"'it''s :x' and :y", "'it''s :x' and ?"},
                    TextPair{"'a \"b' :c", "'a \"b' ?"},
                    TextPair{"time '10:30:00'", "time '10:30:00'"},
                    TextPair{"'open :x", "'open :x"}, TextPair{"a: b", "a: b"},
                    TextPair{"a:", "a:"}, TextPair{"x::int", "x:int"}, TextPair{"", ""},
                    TextPair{"delete from order items", "delete from order items"}));

} // namespace
