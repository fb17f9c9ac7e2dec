#include "dbaccess/Exceptions.h"
#include "dbaccess/SqlNames.h"
#include "dbaccess/StatementText.h"
#include "dbaccess/TADOTable.h"
#include "dbaccess/TStrings.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using namespace std::string_literals;

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

TEST_P(NameQuoting, QuotesWholeNamesThatNeedIt) {
    const auto& c = GetParam();
    NameRules rules{c.quote, c.folding, {}};
    addReservedWords(rules.reservedWords, " select,ORDER , User");
    EXPECT_EQ(sqlIdentifier(c.name, rules), c.expected);
    EXPECT_EQ(createdIdentifier(c.name, rules), c.created);
}

constexpr auto none = IdentifierFolding::None;
constexpr auto lower = IdentifierFolding::Lower;
constexpr auto upper = IdentifierFolding::Upper;

INSTANTIATE_TEST_SUITE_P(
    Names, NameQuoting,
    testing::Values(QuoteCase{"orders", "\"", none, "orders", "orders"},
                    QuoteCase{"_Order_Items2", "\"", none, "_Order_Items2", "_Order_Items2"},
                    QuoteCase{"Orders", "\"", lower, "\"Orders\"", "Orders"},
                    QuoteCase{"orders", "\"", upper, "\"orders\"", "orders"},
                    // A dot belongs to the name: no schema or database is reached.
                    QuoteCase{"dbo.orders", "\"", none, "\"dbo.orders\"", "\"dbo.orders\""},
                    QuoteCase{"other.victim", "`", none, "`other.victim`", "`other.victim`"},
                    QuoteCase{"OTHER.VICTIM", "\"", lower, "\"OTHER.VICTIM\"", "\"other.victim\""},
                    QuoteCase{"order items", "\"", none, "\"order items\"", "\"order items\""},
                    QuoteCase{"ORDER ITEMS", "\"", lower, "\"ORDER ITEMS\"", "\"order items\""},
                    QuoteCase{"order items", "\"", upper, "\"order items\"", "\"ORDER ITEMS\""},
                    // Reserved words in any letter case.
                    QuoteCase{"select", "\"", none, "\"select\"", "\"select\""},
                    QuoteCase{"Order", "`", none, "`Order`", "`Order`"},
                    QuoteCase{"SELECT", "\"", lower, "\"SELECT\"", "\"select\""},
                    QuoteCase{"user", "\"", lower, "\"user\"", "\"user\""},
                    QuoteCase{"selected", "\"", none, "selected", "selected"},
                    QuoteCase{"a\"b", "\"", none, "\"a\"\"b\"", "\"a\"\"b\""},
                    QuoteCase{"a`b", "`", none, "`a``b`", "`a``b`"},
                    QuoteCase{"x;drop table y", "\"", none, "\"x;drop table y\"",
                              "\"x;drop table y\""},
                    QuoteCase{"x\"; drop table y; --", "\"", none, "\"x\"\"; drop table y; --\"",
                              "\"x\"\"; drop table y; --\""},
                    QuoteCase{"o'brien", "\"", none, "\"o'brien\"", "\"o'brien\""},
                    QuoteCase{"1table", "\"", none, "\"1table\"", "\"1table\""},
                    QuoteCase{"Größe", "\"", none, "\"Größe\"", "\"Größe\""},
                    QuoteCase{"", "\"", none, "\"\"", "\"\""},
                    // Without a quote character of its own a database gets the standard one.
                    QuoteCase{"order items", "", none, "\"order items\"", "\"order items\""}));

TEST(Identifiers, PlainNamesAreLettersDigitsAndUnderscores) {
    for (const std::string name : {"orders", "_x1", "Order_Items2", "Z"}) {
        EXPECT_TRUE(isPlainIdentifier(name)) << name;
    }
    for (const std::string name : {"", "1abc", "a b", "a-b", "a.b", "a;b", "a'b", "Größe"}) {
        EXPECT_FALSE(isPlainIdentifier(name)) << name;
    }
}

TEST(Identifiers, QuotingDoublesEmbeddedQuotes) {
    EXPECT_EQ(quoteIdentifier("a\"b\"", "\""), "\"a\"\"b\"\"\"");
    EXPECT_EQ(quoteIdentifier("it's", "`"), "`it's`");
    EXPECT_EQ(quoteIdentifier("x", ""), "x");
}

// Provider messages lose trailing blanks, control characters and periods.

class ProviderMessages : public testing::TestWithParam<TextPair> {};

TEST_P(ProviderMessages, AreTrimmed) {
    EXPECT_EQ(trimProviderMessage(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ProviderMessages,
    testing::Values(TextPair{"Syntax error.", "Syntax error"},
                    TextPair{"near \"x\": syntax error  \r\n", "near \"x\": syntax error"},
                    TextPair{"Done...", "Done"}, TextPair{"Done. \t. \n", "Done"},
                    TextPair{"a. b.", "a. b"}, TextPair{"line\nbreak kept.", "line\nbreak kept"},
                    TextPair{" leading blank kept", " leading blank kept"},
                    TextPair{"Version 1.5", "Version 1.5"}, TextPair{"ungültig\x01", "ungültig"},
                    TextPair{"数据。", "数据。"}, TextPair{". \r\n", ""}, TextPair{"", ""}));

TEST(ErrorTexts, PrefixWithNameOnlyWhenThereIsOne) {
    EXPECT_EQ(prefixWithName("ADOTable2", "Field 'price' not found"),
              "ADOTable2: Field 'price' not found");
    EXPECT_EQ(prefixWithName("", "Field 'price' not found"), "Field 'price' not found");
}

TEST(ErrorTexts, OleErrorHasEightHexDigits) {
    EXPECT_EQ(oleErrorText(static_cast<std::int32_t>(0x80004005)), "OLE error 80004005");
    EXPECT_EQ(oleErrorText(static_cast<std::int32_t>(0x800A0E7A)), "OLE error 800a0e7a");
    EXPECT_EQ(oleErrorText(1), "OLE error 00000001");
    EXPECT_EQ(oleErrorText(0), "OLE error 00000000");
    const EOleSysError error(static_cast<std::int32_t>(0x80040E14));
    EXPECT_EQ(error.Message(), "OLE error 80040e14");
    EXPECT_STREQ(error.what(), "OLE error 80040e14");
    EXPECT_EQ(error.ErrorCode(), static_cast<std::int32_t>(0x80040E14));
}

TEST(ErrorClasses, ProviderFailuresAreNotDatabaseErrors) {
    const EOleException ole("table not found", static_cast<std::int32_t>(0x80040E37), "42S02");
    const Exception& error = ole;
    EXPECT_NE(dynamic_cast<const EOleSysError*>(&error), nullptr);
    EXPECT_NE(dynamic_cast<const EOleError*>(&error), nullptr);
    EXPECT_EQ(dynamic_cast<const EDatabaseError*>(&error), nullptr);
    EXPECT_NE(dynamic_cast<const std::exception*>(&error), nullptr);
    EXPECT_EQ(ole.Message(), "table not found");
    EXPECT_EQ(ole.SqlState(), "42S02");
    EXPECT_EQ(ole.ErrorCode(), static_cast<std::int32_t>(0x80040E37));
}

TEST(ErrorClasses, EachClassIsCaughtByItsAncestorsOnly) {
    const auto classify = [](const auto& thrown) {
        try {
            throw thrown;
        } catch (const EADOError&) {
            return "EADOError"s;
        } catch (const EDatabaseError&) {
            return "EDatabaseError"s;
        } catch (const EOleException&) {
            return "EOleException"s;
        } catch (const EOleSysError&) {
            return "EOleSysError"s;
        } catch (const EOleError&) {
            return "EOleError"s;
        } catch (const EVariantError&) {
            return "EVariantError"s;
        } catch (const Exception& error) {
            return "Exception: " + error.Message();
        }
    };
    EXPECT_EQ(classify(EADOError("bad value")), "EADOError");
    EXPECT_EQ(classify(EDatabaseError("x")), "EDatabaseError");
    EXPECT_EQ(classify(EOleException("x", 1)), "EOleException");
    EXPECT_EQ(classify(EOleSysError(1)), "EOleSysError");
    EXPECT_EQ(classify(EOleError("x")), "EOleError");
    EXPECT_EQ(classify(EVariantError("x")), "EVariantError");
    EXPECT_EQ(classify(Exception("plain")), "Exception: plain");

    const EADOError ado("bad value");
    const EVariantError variant("x");
    EXPECT_NE(dynamic_cast<const EDatabaseError*>(&ado), nullptr);
    EXPECT_EQ(dynamic_cast<const EDatabaseError*>(static_cast<const Exception*>(&variant)),
              nullptr);
    EXPECT_STREQ(static_cast<const std::exception&>(ado).what(), "bad value");
}

// Letter case of names and string lists.

TEST(LetterCase, ChangesAsciiLettersOnly) {
    EXPECT_EQ(lowerCase("COLUMN_NAME Größe ÄÖ"), "column_name größe ÄÖ");
    EXPECT_EQ(upperCase("column_name größe äö"), "COLUMN_NAME GRößE äö");
    EXPECT_EQ(lowerCase(""), "");
    EXPECT_TRUE(sameTextIgnoringCase("COLUMN_NAME", "column_name"));
    EXPECT_TRUE(sameTextIgnoringCase("", ""));
    EXPECT_FALSE(sameTextIgnoringCase("abc", "abcd"));
    EXPECT_FALSE(sameTextIgnoringCase("id", "id_1"));
    EXPECT_FALSE(sameTextIgnoringCase("Ä", "ä"));
}

TEST(StringLists, IndexOfIgnoresCaseAndFindsTheFirst) {
    const TStringList list{"Orders", "order items", "ORDERS"};
    EXPECT_EQ(list.IndexOf("orders"), 0);
    EXPECT_EQ(list.IndexOf("ORDER ITEMS"), 1);
    EXPECT_EQ(list.IndexOf("order"), -1);
    EXPECT_EQ(list.IndexOf(""), -1);
    EXPECT_EQ(TStringList{}.IndexOf("x"), -1);

    TStringList changed{"a", "b"};
    changed.SetStrings(1, "B2");
    changed.Add("c");
    EXPECT_EQ(changed.IndexOf("b2"), 1);
    EXPECT_EQ(changed.Count(), 3);
    EXPECT_THROW(changed.Strings(3), std::out_of_range);
}

} // namespace
