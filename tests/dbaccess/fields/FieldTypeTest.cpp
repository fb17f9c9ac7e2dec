#include "dbaccess/fields/FieldTypes.h"
#include "dbaccess/odbc/ColumnTypes.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// Failure messages show the case's name or code instead of its bytes.
template <typename Case> auto operator<<(std::ostream& os, const Case& c) -> decltype(c.name, os) {
    return os << c.name;
}

// The field type enumeration: 38 members numbered in this order.

struct OrdinalCase {
    TFieldType type;
    int value;
    const char* name;
};

class FieldTypeOrdinal : public testing::TestWithParam<OrdinalCase> {};

TEST_P(FieldTypeOrdinal, HasItsNumberAndName) {
    EXPECT_EQ(static_cast<int>(GetParam().type), GetParam().value);
    EXPECT_EQ(fieldTypeName(GetParam().type), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Members, FieldTypeOrdinal,
    testing::Values(
        OrdinalCase{ftUnknown, 0, "ftUnknown"}, OrdinalCase{ftString, 1, "ftString"},
        OrdinalCase{ftBoolean, 5, "ftBoolean"}, OrdinalCase{ftBCD, 8, "ftBCD"},
        OrdinalCase{ftDateTime, 11, "ftDateTime"}, OrdinalCase{ftAutoInc, 14, "ftAutoInc"},
        OrdinalCase{ftMemo, 16, "ftMemo"}, OrdinalCase{ftCursor, 22, "ftCursor"},
        OrdinalCase{ftFixedChar, 23, "ftFixedChar"}, OrdinalCase{ftWideString, 24, "ftWideString"},
        OrdinalCase{ftLargeint, 25, "ftLargeint"}, OrdinalCase{ftDataSet, 29, "ftDataSet"},
        OrdinalCase{ftVariant, 32, "ftVariant"}, OrdinalCase{ftIDispatch, 34, "ftIDispatch"},
        OrdinalCase{ftGuid, 35, "ftGuid"}, OrdinalCase{ftTimeStamp, 36, "ftTimeStamp"},
        OrdinalCase{ftFMTBcd, 37, "ftFMTBcd"}),
    [](const testing::TestParamInfo<OrdinalCase>& p) { return std::string(p.param.name); });

TEST(FieldTypeEnumeration, HasThirtyEightMembers) {
    EXPECT_EQ(FieldTypeCount, 38);
}

// Provider data type codes to field types.

struct ProviderCase {
    int code;
    TFieldType type;
};

void PrintTo(const ProviderCase& c, std::ostream* os) {
    *os << "code " << c.code;
}

class ProviderTypeMapping : public testing::TestWithParam<ProviderCase> {};

TEST_P(ProviderTypeMapping, GivesFieldType) {
    EXPECT_EQ(ProviderTypeToFieldType(GetParam().code), GetParam().type);
    EXPECT_EQ(ProviderTypeToFieldType(GetParam().code, true), GetParam().type);
}

TEST_P(ProviderTypeMapping, IgnoresEnableBCDExceptForDecimals) {
    const int code = GetParam().code;
    const bool decimal = code == 14 || code == 131 || code == 139;
    EXPECT_EQ(ProviderTypeToFieldType(code, false), decimal ? ftFloat : GetParam().type);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ProviderTypeMapping,
    testing::Values(
        ProviderCase{2, ftSmallint}, ProviderCase{16, ftSmallint}, ProviderCase{3, ftInteger},
        ProviderCase{10, ftInteger}, ProviderCase{19, ftInteger}, ProviderCase{17, ftWord},
        ProviderCase{18, ftWord}, ProviderCase{20, ftLargeint}, ProviderCase{21, ftLargeint},
        ProviderCase{4, ftFloat}, ProviderCase{5, ftFloat}, ProviderCase{6, ftBCD},
        ProviderCase{14, ftBCD}, ProviderCase{131, ftBCD}, ProviderCase{139, ftBCD},
        ProviderCase{11, ftBoolean}, ProviderCase{7, ftDateTime}, ProviderCase{64, ftDateTime},
        ProviderCase{135, ftDateTime}, ProviderCase{137, ftDateTime}, ProviderCase{133, ftDate},
        ProviderCase{134, ftTime}, ProviderCase{129, ftFixedChar}, ProviderCase{200, ftString},
        ProviderCase{8, ftWideString}, ProviderCase{130, ftWideString},
        ProviderCase{202, ftWideString}, ProviderCase{201, ftMemo}, ProviderCase{203, ftMemo},
        ProviderCase{128, ftBytes}, ProviderCase{204, ftVarBytes}, ProviderCase{205, ftBlob},
        ProviderCase{72, ftGuid}, ProviderCase{12, ftVariant}, ProviderCase{138, ftVariant},
        ProviderCase{13, ftInterface}, ProviderCase{9, ftIDispatch}, ProviderCase{136, ftDataSet},
        // Codes without a field.
        ProviderCase{0, ftUnknown}, ProviderCase{132, ftUnknown}, ProviderCase{1, ftUnknown},
        ProviderCase{15, ftUnknown}, ProviderCase{206, ftUnknown}, ProviderCase{-1, ftUnknown},
        ProviderCase{8192, ftUnknown}),
    [](const testing::TestParamInfo<ProviderCase>& p) {
        const int code = p.param.code;
        return code < 0 ? "Minus" + std::to_string(-code) : "Code" + std::to_string(code);
    });

// ODBC SQL types to result codes and columns rowset codes.

struct SqlTypeCase {
    const char* name;
    SQLSMALLINT sqlType;
    int result;
    int unsignedResult;
    int schema;
    bool hasCharacterLength;
    TFieldType fieldType;
};

class SqlTypeMapping : public testing::TestWithParam<SqlTypeCase> {};

TEST_P(SqlTypeMapping, GivesProviderCodes) {
    const auto& c = GetParam();
    EXPECT_EQ(resultProviderType(c.sqlType, false), c.result);
    EXPECT_EQ(resultProviderType(c.sqlType, true), c.unsignedResult);
    EXPECT_EQ(schemaProviderType(c.sqlType, false), c.schema);
    EXPECT_EQ(columnTypeMapping(c.sqlType).hasCharacterLength, c.hasCharacterLength);
}

TEST_P(SqlTypeMapping, ResultCodeGivesFieldType) {
    const auto& c = GetParam();
    EXPECT_EQ(ProviderTypeToFieldType(resultProviderType(c.sqlType, false)), c.fieldType);
}

INSTANTIATE_TEST_SUITE_P(
    Types, SqlTypeMapping,
    testing::Values(SqlTypeCase{"VARCHAR", SQL_VARCHAR, 200, 200, 129, true, ftString},
                    SqlTypeCase{"CHAR", SQL_CHAR, 129, 129, 129, true, ftFixedChar},
                    SqlTypeCase{"LONGVARCHAR", SQL_LONGVARCHAR, 201, 201, 129, true, ftMemo},
                    SqlTypeCase{"WCHAR", SQL_WCHAR, 130, 130, 130, true, ftWideString},
                    SqlTypeCase{"WVARCHAR", SQL_WVARCHAR, 202, 202, 130, true, ftWideString},
                    SqlTypeCase{"WLONGVARCHAR", SQL_WLONGVARCHAR, 203, 203, 130, true, ftMemo},
                    SqlTypeCase{"BINARY", SQL_BINARY, 128, 128, 128, true, ftBytes},
                    SqlTypeCase{"VARBINARY", SQL_VARBINARY, 204, 204, 128, true, ftVarBytes},
                    SqlTypeCase{"LONGVARBINARY", SQL_LONGVARBINARY, 205, 205, 128, true, ftBlob},
                    SqlTypeCase{"BIT", SQL_BIT, 11, 11, 11, false, ftBoolean},
                    SqlTypeCase{"TINYINT", SQL_TINYINT, 16, 17, 16, false, ftSmallint},
                    SqlTypeCase{"SMALLINT", SQL_SMALLINT, 2, 18, 2, false, ftSmallint},
                    SqlTypeCase{"INTEGER", SQL_INTEGER, 3, 19, 3, false, ftInteger},
                    SqlTypeCase{"BIGINT", SQL_BIGINT, 20, 21, 20, false, ftLargeint},
                    SqlTypeCase{"REAL", SQL_REAL, 4, 4, 4, false, ftFloat},
                    SqlTypeCase{"FLOAT", SQL_FLOAT, 5, 5, 5, false, ftFloat},
                    SqlTypeCase{"DOUBLE", SQL_DOUBLE, 5, 5, 5, false, ftFloat},
                    SqlTypeCase{"DECIMAL", SQL_DECIMAL, 131, 131, 131, false, ftBCD},
                    SqlTypeCase{"NUMERIC", SQL_NUMERIC, 131, 131, 131, false, ftBCD},
                    SqlTypeCase{"TYPE_DATE", SQL_TYPE_DATE, 133, 133, 133, false, ftDate},
                    SqlTypeCase{"TYPE_TIME", SQL_TYPE_TIME, 134, 134, 134, false, ftTime},
                    SqlTypeCase{"TYPE_TIMESTAMP", SQL_TYPE_TIMESTAMP, 135, 135, 135, false,
                                ftDateTime},
                    SqlTypeCase{"GUID", SQL_GUID, 72, 72, 72, false, ftGuid},
                    SqlTypeCase{"Unknown", 9999, 0, 0, 0, false, ftUnknown},
                    SqlTypeCase{"UnknownNegative", -150, 0, 0, 0, false, ftUnknown}),
    [](const testing::TestParamInfo<SqlTypeCase>& p) { return std::string(p.param.name); });

TEST(SqlTypeMapping, UnsignedSchemaCodesFollowTheResultCodes) {
    EXPECT_EQ(schemaProviderType(SQL_TINYINT, true), 17);
    EXPECT_EQ(schemaProviderType(SQL_SMALLINT, true), 18);
    EXPECT_EQ(schemaProviderType(SQL_INTEGER, true), 19);
    EXPECT_EQ(schemaProviderType(SQL_BIGINT, true), 21);
}

// Declared column types as SQLite stores them.

struct DeclaredCase {
    const char* name;
    std::string declaration;
    SQLSMALLINT sqlType;
    std::int64_t size;
    int scale;
    bool isUnsigned;
};

class DeclaredTypes : public testing::TestWithParam<DeclaredCase> {};

TEST_P(DeclaredTypes, Parse) {
    const auto& c = GetParam();
    const DeclaredType type = parseDeclaredType(c.declaration);
    EXPECT_EQ(type.sqlType, c.sqlType);
    EXPECT_EQ(type.size, c.size);
    EXPECT_EQ(type.scale, c.scale);
    EXPECT_EQ(type.isUnsigned, c.isUnsigned);
}

INSTANTIATE_TEST_SUITE_P(
    SQLite, DeclaredTypes,
    testing::Values(DeclaredCase{"NVarchar", "NVARCHAR(70)", SQL_WVARCHAR, 70, 0, false},
                    DeclaredCase{"LowerDecimal", "decimal(20,6)", SQL_DECIMAL, 20, 6, false},
                    DeclaredCase{"DecimalWithBlank", "DECIMAL(10, 2)", SQL_DECIMAL, 10, 2, false},
                    DeclaredCase{"Numeric", "NUMERIC(10,2)", SQL_DECIMAL, 10, 2, false},
                    DeclaredCase{"Integer", "INTEGER", SQL_BIGINT, 0, 0, false},
                    DeclaredCase{"LowerInt", "int", SQL_BIGINT, 0, 0, false},
                    DeclaredCase{"BigInt", "BIGINT", SQL_BIGINT, 0, 0, false},
                    DeclaredCase{"UnsignedBigInt", "UNSIGNED BIG INT", SQL_BIGINT, 0, 0, true},
                    DeclaredCase{"SmallInt", "SMALLINT", SQL_SMALLINT, 0, 0, false},
                    DeclaredCase{"TinyInt", "TINYINT", SQL_TINYINT, 0, 0, false},
                    DeclaredCase{"Text", "TEXT", SQL_LONGVARCHAR, 0, 0, false},
                    DeclaredCase{"NText", "NTEXT", SQL_WLONGVARCHAR, 0, 0, false},
                    DeclaredCase{"Clob", "CLOB", SQL_LONGVARCHAR, 0, 0, false},
                    DeclaredCase{"Blob", "BLOB", SQL_LONGVARBINARY, 0, 0, false},
                    DeclaredCase{"VarBinary", "VARBINARY(16)", SQL_VARBINARY, 16, 0, false},
                    DeclaredCase{"DateTime", "DATETIME", SQL_TYPE_TIMESTAMP, 0, 0, false},
                    DeclaredCase{"Timestamp", "TIMESTAMP", SQL_TYPE_TIMESTAMP, 0, 0, false},
                    DeclaredCase{"Date", "DATE", SQL_TYPE_DATE, 0, 0, false},
                    DeclaredCase{"Time", "TIME", SQL_TYPE_TIME, 0, 0, false},
                    DeclaredCase{"Real", "REAL", SQL_DOUBLE, 0, 0, false},
                    DeclaredCase{"Double", "DOUBLE PRECISION", SQL_DOUBLE, 0, 0, false},
                    DeclaredCase{"Float", "FLOAT", SQL_DOUBLE, 0, 0, false},
                    DeclaredCase{"Boolean", "BOOLEAN", SQL_BIT, 0, 0, false},
                    DeclaredCase{"Varchar", "VARCHAR(40)", SQL_VARCHAR, 40, 0, false},
                    DeclaredCase{"VarcharBlank", "varchar (40)", SQL_VARCHAR, 40, 0, false},
                    DeclaredCase{"Char", "CHAR(3)", SQL_CHAR, 3, 0, false},
                    DeclaredCase{"NChar", "NCHAR(3)", SQL_WCHAR, 3, 0, false},
                    DeclaredCase{"CharacterVarying", "CHARACTER VARYING(20)", SQL_VARCHAR, 20, 0,
                                 false},
                    DeclaredCase{"Guid", "UUID", SQL_GUID, 0, 0, false},
                    DeclaredCase{"NoType", "", SQL_LONGVARBINARY, 0, 0, false},
                    DeclaredCase{"OtherName", "GEOMETRY", SQL_DECIMAL, 0, 0, false}),
    [](const testing::TestParamInfo<DeclaredCase>& p) { return std::string(p.param.name); });

} // namespace
