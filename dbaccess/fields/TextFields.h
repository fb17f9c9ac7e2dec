#pragma once

#include "dbaccess/fields/TField.h"

// Text, byte, blob and memo fields.

class TStringField : public TField {
public:
    using TField::TField;

protected:
    Variant readValue(const Variant& stored) const override;
    Variant convertValue(const Variant& value, std::string& warning) const override;
    // A copy keeps a NUL where the column holds one, and says where it cannot.
    Variant convertCopiedValue(const Variant& value, std::string& warning) const override;

private:
    Variant convertText(std::string text, std::string& warning) const;
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
    Variant convertCopiedValue(const Variant& value, std::string& warning) const override;
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
