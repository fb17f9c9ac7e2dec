#pragma once

#include "dbaccess/fields/TField.h"

// Fields that hold a variant or an interface reference as it is.

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
