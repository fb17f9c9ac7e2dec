#pragma once

#include "dbaccess/fields/TField.h"

// Date, time and timestamp fields.

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
