#include "dbaccess/fields/DateTimeFields.h"
#include "dbaccess/fields/NumberFields.h"
#include "dbaccess/fields/TextFields.h"
#include "dbaccess/fields/VariantFields.h"

std::unique_ptr<TField> createField(FieldStore& dataSet, int columnIndex, const ColumnInfo& column,
                                    TFieldType type, std::string name) {
    auto make = [&]<typename T>() -> std::unique_ptr<TField> {
        return std::make_unique<T>(dataSet, columnIndex, column, type, std::move(name));
    };
    switch (type) {
    case ftString:
    case ftFixedChar:
        return make.operator()<TStringField>();
    case ftGuid:
        return make.operator()<TGuidField>();
    case ftWideString:
        return make.operator()<TWideStringField>();
    case ftSmallint:
        return make.operator()<TSmallintField>();
    case ftInteger:
        return make.operator()<TIntegerField>();
    case ftWord:
        return make.operator()<TWordField>();
    case ftAutoInc:
        return make.operator()<TAutoIncField>();
    case ftLargeint:
        return make.operator()<TLargeintField>();
    case ftFloat:
        return make.operator()<TFloatField>();
    case ftCurrency:
        return make.operator()<TCurrencyField>();
    case ftBCD:
        return make.operator()<TBCDField>();
    case ftFMTBcd:
        return make.operator()<TFMTBCDField>();
    case ftBoolean:
        return make.operator()<TBooleanField>();
    case ftDate:
        return make.operator()<TDateField>();
    case ftTime:
        return make.operator()<TTimeField>();
    case ftDateTime:
        return make.operator()<TDateTimeField>();
    case ftTimeStamp:
        return make.operator()<TSQLTimeStampField>();
    case ftBytes:
        return make.operator()<TBytesField>();
    case ftVarBytes:
        return make.operator()<TVarBytesField>();
    case ftMemo:
    case ftFmtMemo:
    case ftOraClob:
        return make.operator()<TMemoField>();
    case ftGraphic:
        return make.operator()<TGraphicField>();
    case ftBlob:
    case ftTypedBinary:
    case ftOraBlob:
    case ftParadoxOle:
    case ftDBaseOle:
        return make.operator()<TBlobField>();
    case ftVariant:
        return make.operator()<TVariantField>();
    case ftInterface:
        return make.operator()<TInterfaceField>();
    case ftIDispatch:
        return make.operator()<TIDispatchField>();
    case ftDataSet:
        return make.operator()<TDataSetField>();
    default:
        return nullptr;
    }
}
