#include "dbaccess/catalog/SqlNames.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// Names as every statement writes them.

struct QuoteCase {
    std::string name;
    std::string quote;
    IdentifierFolding folding;
    std::string expected;
    // The name as a new table or column gets it.
    std::string created;
};

void PrintTo(const QuoteCase& c, std::ostream* os) {
    *os << testing::PrintToString(c.name) << " with " << c.quote;
}

class NameQuoting : public testing::TestWithParam<QuoteCase> {};

TEST_P(NameQuoting, QuotesEveryNameWhole) {
    const auto& c = GetParam();
    const NameRules rules{c.quote, c.folding};
    EXPECT_EQ(sqlIdentifier(c.name, rules), c.expected);
    EXPECT_EQ(createdIdentifier(c.name, rules), c.created);
}

constexpr auto none = IdentifierFolding::None;
constexpr auto lower = IdentifierFolding::Lower;
constexpr auto upper = IdentifierFolding::Upper;

INSTANTIATE_TEST_SUITE_P(
    Names, NameQuoting,
    testing::Values(
        QuoteCase{"orders", "\"", none, "\"orders\"", "\"orders\""},
        QuoteCase{"_Order_Items2", "\"", none, "\"_Order_Items2\"", "\"_Order_Items2\""},
        QuoteCase{"Orders", "\"", lower, "\"Orders\"", "\"orders\""},
        QuoteCase{"orders", "\"", upper, "\"orders\"", "\"ORDERS\""},
        // A dot belongs to the name: no schema or database is reached.
        QuoteCase{"dbo.orders", "\"", none, "\"dbo.orders\"", "\"dbo.orders\""},
        QuoteCase{"other.victim", "`", none, "`other.victim`", "`other.victim`"},
        QuoteCase{"OTHER.VICTIM", "\"", lower, "\"OTHER.VICTIM\"", "\"other.victim\""},
        QuoteCase{"order items", "\"", none, "\"order items\"", "\"order items\""},
        QuoteCase{"ORDER ITEMS", "\"", lower, "\"ORDER ITEMS\"", "\"order items\""},
        QuoteCase{"order items", "\"", upper, "\"order items\"", "\"ORDER ITEMS\""},
        // Keywords and functions in any letter case.
        QuoteCase{"select", "\"", none, "\"select\"", "\"select\""},
        QuoteCase{"Order", "`", none, "`Order`", "`Order`"},
        QuoteCase{"SELECT", "\"", lower, "\"SELECT\"", "\"select\""},
        QuoteCase{"current_catalog", "\"", lower, "\"current_catalog\"", "\"current_catalog\""},
        QuoteCase{"localtimestamp", "`", none, "`localtimestamp`", "`localtimestamp`"},
        QuoteCase{"a\"b", "\"", none, "\"a\"\"b\"", "\"a\"\"b\""},
        QuoteCase{"a`b", "`", none, "`a``b`", "`a``b`"},
        QuoteCase{"x;drop table y", "\"", none, "\"x;drop table y\"", "\"x;drop table y\""},
        QuoteCase{"x\"; drop table y; --", "\"", none, "\"x\"\"; drop table y; --\"",
                  "\"x\"\"; drop table y; --\""},
        QuoteCase{"o'brien", "\"", none, "\"o'brien\"", "\"o'brien\""},
        QuoteCase{"1table", "\"", none, "\"1table\"", "\"1table\""},
        QuoteCase{"Größe", "\"", none, "\"Größe\"", "\"Größe\""},
        QuoteCase{"", "\"", none, "\"\"", "\"\""},
        // Without a quote character of its own a database gets the standard one.
        QuoteCase{"order items", "", none, "\"order items\"", "\"order items\""}));

TEST(Identifiers, QuotingDoublesEmbeddedQuotes) {
    EXPECT_EQ(quoteIdentifier("a\"b\"", "\""), "\"a\"\"b\"\"\"");
    EXPECT_EQ(quoteIdentifier("it's", "`"), "`it's`");
    EXPECT_EQ(quoteIdentifier("x", ""), "x");
}

} // namespace
