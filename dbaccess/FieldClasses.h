#pragma once

#include "TField.h"

// The field classes, one for each family of field types.

class TStringField : public TField {
public:
    using TField::TField;

protected:
    Variant readValue(const Variant& stored) const override;
    Variant convertValue(const Variant& value, std::string& warning) const override;
};

class TGuidField : public TStringField {
public:
    using TStringField::TStringField;
};

class TWideStringField : public TField {
public:
    using TField::TField;

protected:
    Variant readValue(const Variant& stored) const override;
    Variant convertValue(const Variant& value, std::string& warning) const override;
};

// 16- and 32-bit integers and unsigned words, each with its range.
class TIntegerField : public TField {
public:
    TIntegerField(TCustomADODataSet& dataSet, int columnIndex, const ColumnInfo& column,
                  TFieldType type, std::string name);

protected:
    Variant readValue(const Variant& stored) const override;
    Variant convertValue(const Variant& value, std::string& warning) const override;

private:
    double lowest_;
    double highest_;
};

class TSmallintField : public TIntegerField {
public:
    using TIntegerField::TIntegerField;
};
class TWordField : public TIntegerField {
public:
    using TIntegerField::TIntegerField;
};
class TAutoIncField : public TIntegerField {
public:
    using TIntegerField::TIntegerField;
};

class TLargeintField : public TField {
public:
    TLargeintField(TCustomADODataSet& dataSet, int columnIndex, const ColumnInfo& column,
                   TFieldType type, std::string name)
        : TField(dataSet, columnIndex, column, type, std::move(name)),
          isUnsigned_(column.providerType == ProviderType::UnsignedBigInt) {}

protected:
    Variant readValue(const Variant& stored) const override;
    Variant convertValue(const Variant& value, std::string& warning) const override;

private:
    bool isUnsigned_;
};

class TFloatField : public TField {
public:
    using TField::TField;

protected:
    Variant readValue(const Variant& stored) const override;
    Variant convertValue(const Variant& value, std::string& warning) const override;
};

class TCurrencyField : public TFloatField {
public:
    using TFloatField::TFloatField;
};

// Decimals keep every digit of the stored value; currency columns keep the
// four decimals of their type.
class TBCDField : public TField {
public:
    TBCDField(TCustomADODataSet& dataSet, int columnIndex, const ColumnInfo& column,
              TFieldType type, std::string name);

protected:
    Variant readValue(const Variant& stored) const override;
    Variant convertValue(const Variant& value, std::string& warning) const override;

private:
    bool isCurrency_;
};

class TFMTBCDField : public TBCDField {
public:
    using TBCDField::TBCDField;
};

class TBooleanField : public TField {
public:
    using TField::TField;

protected:
    Variant readValue(const Variant& stored) const override;
    Variant convertValue(const Variant& value, std::string& warning) const override;
};

class TDateTimeField : public TField {
public:
    using TField::TField;

protected:
    Variant readValue(const Variant& stored) const override;
    Variant convertValue(const Variant& value, std::string& warning) const override;
};

class TDateField : public TDateTimeField {
public:
    using TDateTimeField::TDateTimeField;
};
class TTimeField : public TDateTimeField {
public:
    using TDateTimeField::TDateTimeField;
};
class TSQLTimeStampField : public TDateTimeField {
public:
    using TDateTimeField::TDateTimeField;
};

class TBytesField : public TField {
public:
    using TField::TField;

protected:
    Variant readValue(const Variant& stored) const override;
    Variant convertValue(const Variant& value, std::string& warning) const override;
};

class TVarBytesField : public TBytesField {
public:
    using TBytesField::TBytesField;
};

// Blob and memo contents read as single-byte text, never null.
class TBlobField : public TField {
public:
    using TField::TField;
    bool IsBlob() const noexcept override { return true; }

protected:
    Variant readValue(const Variant& stored) const override;
    Variant convertValue(const Variant& value, std::string& warning) const override;
    Variant nullValue() const override { return Variant(std::string()); }
};

class TMemoField : public TBlobField {
public:
    using TBlobField::TBlobField;
};
class TGraphicField : public TBlobField {
public:
    using TBlobField::TBlobField;
};

class TVariantField : public TField {
public:
    using TField::TField;

protected:
    Variant readValue(const Variant& stored) const override { return stored; }
    Variant convertValue(const Variant& value, std::string&) const override { return value; }
};

class TInterfaceField : public TField {
public:
    using TField::TField;

protected:
    Variant readValue(const Variant& stored) const override;
    Variant convertValue(const Variant& value, std::string& warning) const override;
};

class TIDispatchField : public TInterfaceField {
public:
    using TInterfaceField::TInterfaceField;
};

class TDataSetField : public TInterfaceField {
public:
    using TInterfaceField::TInterfaceField;
};
