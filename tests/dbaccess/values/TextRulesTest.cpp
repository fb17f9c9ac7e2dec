#include "dbaccess/values/Exceptions.h"
#include "dbaccess/values/TStrings.h"

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
