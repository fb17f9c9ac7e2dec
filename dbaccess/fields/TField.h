#pragma once

#include "dbaccess/fields/FieldTypes.h"
#include "dbaccess/odbc/ColumnInfo.h"
#include "dbaccess/values/Variant.h"

#include <memory>
#include <string>

class TField;

// Where a field's values live: the current row and the pending row of the
// data set the field belongs to.
class FieldStore {
public:
    virtual ~FieldStore() = default;
    virtual Variant storedValue(const TField& field) const = 0;
    virtual bool storedIsNull(const TField& field) const = 0;
    virtual bool hasCurrentRow() const noexcept = 0;
    // Checks the data set's state and the field's read-only flag, then keeps
    // the value in the pending row.
    virtual void storeFieldValue(const TField& field, Variant value) = 0;
};

// One column of an open data set: its name, type and size, and access to its
// value in the current row or in the pending row.
class TField {
public:
    TField(FieldStore& dataSet, int columnIndex, const ColumnInfo& column, TFieldType type,
           std::string name);
    virtual ~TField() = default;
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;

    const std::string& FieldName() const noexcept { return fieldName_; }
    TFieldType DataType() const noexcept { return dataType_; }
    int Size() const noexcept { return size_; }
    int Precision() const noexcept { return precision_; }
    bool ReadOnly() const noexcept { return readOnly_; }
    void SetReadOnly(bool readOnly) noexcept { readOnly_ = readOnly; }
    int ColumnIndex() const noexcept { return columnIndex_; }
    // The result column the field stands for.
    const ColumnInfo& Column() const noexcept { return *column_; }
    // Blob and memo fields prefix their read-only error with the data set's name.
    virtual bool IsBlob() const noexcept { return false; }

    Variant Value() const;
    // The value to copy: Value(), except that a value with its own storage
    // class (SQLite) stays as it is stored, and bytes stay bytes where a blob
    // field reads them as text.
    Variant CopiedValue() const;
    // Stores a value copied from the field from: as it is where both columns
    // keep each value's storage class or bytes go to such a column, else as
    // SetValue does.
    void SetCopiedValue(const Variant& value, const TField& from);
    void SetValue(const Variant& value) { assign(value, false); }

    std::string AsString() const;
    int AsInteger() const;
    bool AsBoolean() const;
    bool IsNull() const;

protected:
    // The class's own kind of variant for a stored (non-null) value.
    virtual Variant readValue(const Variant& stored) const = 0;
    // The converted value to store; conversion failures raise EVariantError,
    // check failures EDatabaseError. A non-empty warning is raised after storing.
    virtual Variant convertValue(const Variant& value, std::string& warning) const = 0;
    // The same for a value copied from another field, where it may keep
    // more of itself than the layer's own conversion lets it.
    virtual Variant convertCopiedValue(const Variant& value, std::string& warning) const {
        return convertValue(value, warning);
    }
    // What a null stored value reads as.
    virtual Variant nullValue() const { return Variant::null(); }

    void setSize(int size) noexcept { size_ = size; }
    [[noreturn]] void raiseInvalidValue() const;

private:
    void assign(const Variant& value, bool copied);

    FieldStore& dataSet_;
    int columnIndex_;
    const ColumnInfo* column_;
    std::string fieldName_;
    TFieldType dataType_;
    int size_ = 0;
    int precision_ = 0;
    bool readOnly_ = false;
};

// The field class for a field type; nullptr for ftUnknown.
std::unique_ptr<TField> createField(FieldStore& dataSet, int columnIndex, const ColumnInfo& column,
                                    TFieldType type, std::string name);
