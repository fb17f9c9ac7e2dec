#include "TextFields.h"

#include "dbaccess/values/Exceptions.h"
#include "dbaccess/values/UnicodeText.h"

namespace {

// Text with a NUL goes into a column that holds none cut at the NUL.
bool cutAtNul(std::string& text, const ColumnInfo& column) {
    const auto nul = text.find('\0');
    if (nul == std::string::npos || column.holdsNul) {
        return false;
    }
    text.resize(nul);
    return true;
}

std::string nulCutWarning(const std::string& fieldName) {
    return "Value for field '" + fieldName +
           "' holds a NUL character, which the database cannot hold: cut at it";
}

} // namespace

Variant TStringField::readValue(const Variant& stored) const {
    return Variant(stored.toString());
}

Variant TStringField::convertValue(const Variant& value, std::string& warning) const {
    std::string text = value.toString();
    if (const auto nul = text.find('\0'); nul != std::string::npos) {
        text.resize(nul);
    }
    return convertText(std::move(text), warning);
}

Variant TStringField::convertCopiedValue(const Variant& value, std::string& warning) const {
    std::string text = value.toString();
    const bool cut = cutAtNul(text, Column());
    Variant converted = convertText(std::move(text), warning);
    if (cut && warning.empty()) {
        warning = nulCutWarning(FieldName());
    }
    return converted;
}

Variant TStringField::convertText(std::string text, std::string& warning) const {
    if (Size() > 0 && Size() < 8192 && !Column().labelled &&
        utf8Length(text) > static_cast<std::size_t>(Size())) {
        text = utf8Prefix(text, static_cast<std::size_t>(Size()));
        warning = "Value for field '" + FieldName() + "' truncated to " + std::to_string(Size()) +
                  " characters";
    }
    return Variant(std::move(text));
}

Variant TWideStringField::readValue(const Variant& stored) const {
    return Variant(stored.toWideString());
}

Variant TWideStringField::convertValue(const Variant& value, std::string& warning) const {
    std::string text = value.toString();
    if (Size() > 0 && !Column().labelled && utf8Length(text) > static_cast<std::size_t>(Size())) {
        text = utf8Prefix(text, static_cast<std::size_t>(Size()));
        warning = "Value for field '" + FieldName() + "' truncated to " + std::to_string(Size()) +
                  " characters";
    }
    return Variant(utf8ToUtf16(text));
}

// Bytes

Variant TBytesField::readValue(const Variant& stored) const {
    return Variant(stored.toBytes());
}

Variant TBytesField::convertValue(const Variant& value, std::string&) const {
    // Blob contents arrive as byte strings and count as byte arrays here.
    const bool isByteArray =
        value.kind() == Variant::Kind::ByteArray || value.kind() == Variant::Kind::String;
    if (!isByteArray) {
        throw EDatabaseError("Invalid variant type or size for field '" + FieldName() + "'");
    }
    Bytes bytes = value.toBytes();
    if (Size() > 0 && bytes.size() > static_cast<std::size_t>(Size())) {
        throw EDatabaseError("Invalid variant type or size for field '" + FieldName() + "'");
    }
    return Variant(std::move(bytes));
}

// Blobs and memos

Variant TBlobField::readValue(const Variant& stored) const {
    return Variant(stored.toString());
}

// Empty text stays empty text: storing it as null would turn '' into NULL.
Variant TBlobField::convertValue(const Variant& value, std::string&) const {
    return Variant(value.toString());
}

Variant TBlobField::convertCopiedValue(const Variant& value, std::string& warning) const {
    std::string text = value.toString();
    if (Column().storage == StorageKind::Text && cutAtNul(text, Column())) {
        warning = nulCutWarning(FieldName());
    }
    return Variant(std::move(text));
}
