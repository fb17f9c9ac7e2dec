#pragma once

#include "dbaccess/fields/TField.h"

// Integer, floating, decimal and boolean fields.

// 16- and 32-bit integers and unsigned words, each with its range.
class TIntegerField : public TField {
public:
    TIntegerField(FieldStore& dataSet, int columnIndex, const ColumnInfo& column, TFieldType type,
                  std::string name);

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
    TLargeintField(FieldStore& dataSet, int columnIndex, const ColumnInfo& column, TFieldType type,
                   std::string name)
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
    TBCDField(FieldStore& dataSet, int columnIndex, const ColumnInfo& column, TFieldType type,
              std::string name);

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
