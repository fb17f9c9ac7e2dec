#include "FieldTypes.h"

#include <array>

TFieldType ProviderTypeToFieldType(int providerType, bool enableBCD) {
    namespace P = ProviderType;
    switch (providerType) {
    case P::SmallInt:
    case P::TinyInt:
        return ftSmallint;
    case P::Integer:
    case P::Error:
    case P::UnsignedInt:
        return ftInteger;
    case P::UnsignedTinyInt:
    case P::UnsignedSmallInt:
        return ftWord;
    case P::BigInt:
    case P::UnsignedBigInt:
        return ftLargeint;
    case P::Single:
    case P::Double:
        return ftFloat;
    case P::Currency:
        return ftBCD;
    case P::Decimal:
    case P::Numeric:
    case P::VarNumeric:
        return enableBCD ? ftBCD : ftFloat;
    case P::Boolean:
        return ftBoolean;
    case P::Date:
    case P::FileTime:
    case P::DBTimeStamp:
    case P::DBFileTime:
        return ftDateTime;
    case P::DBDate:
        return ftDate;
    case P::DBTime:
        return ftTime;
    case P::Char:
        return ftFixedChar;
    case P::VarChar:
        return ftString;
    case P::BSTR:
    case P::WChar:
    case P::VarWChar:
        return ftWideString;
    case P::LongVarChar:
    case P::LongVarWChar:
        return ftMemo;
    case P::Binary:
        return ftBytes;
    case P::VarBinary:
        return ftVarBytes;
    case P::LongVarBinary:
        return ftBlob;
    case P::GUID:
        return ftGuid;
    case P::Variant:
    case P::PropVariant:
        return ftVariant;
    case P::IUnknown:
        return ftInterface;
    case P::IDispatch:
        return ftIDispatch;
    case P::Chapter:
        return ftDataSet;
    default:
        return ftUnknown;
    }
}

std::string_view fieldTypeName(TFieldType type) {
    static constexpr std::array<std::string_view, FieldTypeCount> names = {
        "ftUnknown",    "ftString",     "ftSmallint", "ftInteger",     "ftWord",      "ftBoolean",
        "ftFloat",      "ftCurrency",   "ftBCD",      "ftDate",        "ftTime",      "ftDateTime",
        "ftBytes",      "ftVarBytes",   "ftAutoInc",  "ftBlob",        "ftMemo",      "ftGraphic",
        "ftFmtMemo",    "ftParadoxOle", "ftDBaseOle", "ftTypedBinary", "ftCursor",    "ftFixedChar",
        "ftWideString", "ftLargeint",   "ftADT",      "ftArray",       "ftReference", "ftDataSet",
        "ftOraBlob",    "ftOraClob",    "ftVariant",  "ftInterface",   "ftIDispatch", "ftGuid",
        "ftTimeStamp",  "ftFMTBcd"};
    const auto index = static_cast<std::size_t>(type);
    return index < names.size() ? names[index] : "ftUnknown";
}
