#include "ResultSet.h"

#include "dbaccess/odbc/TaggedValue.h"

#include <cstring>
#include <string>

namespace {

template <typename T> void writeSlot(std::uint8_t* slot, T value) {
    static_assert(sizeof(T) <= 8);
    std::memcpy(slot, &value, sizeof(T));
}

template <typename T> T readSlot(const std::uint8_t* slot) {
    T value;
    std::memcpy(&value, slot, sizeof(T));
    return value;
}

} // namespace

RowStore::RowStore(const std::vector<ColumnInfo>& columns) : nullBytes_((columns.size() + 7) / 8) {
    for (const ColumnInfo& column : columns) {
        kinds_.push_back(column.storage);
        readings_.push_back(column.reading);
    }
    rowWidth_ = nullBytes_ + kinds_.size() * 8;
}

void RowStore::beginRow() {
    // A fresh row: every null flag clear means null.
    records_.resize(records_.size() + rowWidth_, 0);
    ++rowCount_;
}

void RowStore::clear() {
    records_.clear();
    arena_.clear();
    rowCount_ = 0;
}

void RowStore::dropLastRow() {
    if (rowCount_ > 0) {
        --rowCount_;
        records_.resize(rowCount_ * rowWidth_);
    }
}

std::uint8_t* RowStore::slot(std::size_t column) {
    return records_.data() + (rowCount_ - 1) * rowWidth_ + nullBytes_ + column * 8;
}

const std::uint8_t* RowStore::slot(std::size_t row, std::size_t column) const {
    return records_.data() + row * rowWidth_ + nullBytes_ + column * 8;
}

void RowStore::markPresent(std::size_t column) {
    records_[(rowCount_ - 1) * rowWidth_ + column / 8] |=
        static_cast<std::uint8_t>(1U << (column % 8));
}

void RowStore::setInteger(std::size_t column, std::int64_t value) {
    writeSlot(slot(column), value);
    markPresent(column);
}

void RowStore::setUnsigned(std::size_t column, std::uint64_t value) {
    writeSlot(slot(column), value);
    markPresent(column);
}

void RowStore::setDouble(std::size_t column, double value) {
    writeSlot(slot(column), value);
    markPresent(column);
}

void RowStore::setBoolean(std::size_t column, bool value) {
    writeSlot(slot(column), static_cast<std::uint8_t>(value ? 1 : 0));
    markPresent(column);
}

void RowStore::setDateTime(std::size_t column, DateTime value) {
    setInteger(column, value.microseconds);
}

void RowStore::setData(std::size_t column, std::string_view data) {
    const auto offset = static_cast<std::uint64_t>(arena_.size());
    const auto length = static_cast<std::uint64_t>(data.size());
    arena_.append(reinterpret_cast<const char*>(&length), sizeof length);
    arena_.append(data);
    writeSlot(slot(column), offset);
    markPresent(column);
}

bool RowStore::isNull(std::size_t row, std::size_t column) const {
    return (records_[row * rowWidth_ + column / 8] & (1U << (column % 8))) == 0;
}

Variant RowStore::value(std::size_t row, std::size_t column) const {
    if (isNull(row, column)) {
        return Variant::null();
    }
    if (readings_[column] == ValueReading::Tagged) {
        return taggedValue(data(row, column));
    }
    if (readings_[column] == ValueReading::DateText) {
        // A date no date-time holds (a zero month) stays the database's text.
        std::string text = data(row, column);
        DateTime date;
        return parseDateTime(text, date) ? Variant(date) : Variant(std::move(text));
    }
    const std::uint8_t* stored = slot(row, column);
    switch (kinds_[column]) {
    case StorageKind::Integer:
        return Variant(readSlot<std::int64_t>(stored));
    case StorageKind::Unsigned: {
        const auto value = readSlot<std::uint64_t>(stored);
        if (value > static_cast<std::uint64_t>(INT64_MAX)) {
            return Variant(Decimal{std::to_string(value)});
        }
        return Variant(static_cast<std::int64_t>(value));
    }
    case StorageKind::Double:
        return Variant(readSlot<double>(stored));
    case StorageKind::Boolean:
        return Variant(readSlot<std::uint8_t>(stored) != 0);
    case StorageKind::DateTime:
        return Variant(DateTime{readSlot<std::int64_t>(stored)});
    case StorageKind::Binary: {
        const std::string bytes = data(row, column);
        return Variant(Bytes(bytes.begin(), bytes.end()));
    }
    case StorageKind::Decimal:
        return Variant(Decimal{data(row, column)});
    case StorageKind::Text:
        break;
    }
    return Variant(data(row, column));
}

std::string RowStore::data(std::size_t row, std::size_t column) const {
    const auto offset = readSlot<std::uint64_t>(slot(row, column));
    std::uint64_t length = 0;
    std::memcpy(&length, arena_.data() + offset, sizeof length);
    return arena_.substr(offset + sizeof length, length);
}

void RowStore::setValue(std::size_t column, const Variant& value) {
    if (value.isEmpty()) {
        return;
    }
    if (readings_[column] == ValueReading::Tagged) {
        setData(column, taggedText(value));
        return;
    }
    if (readings_[column] == ValueReading::DateText) {
        setData(column, value.kind() == Variant::Kind::DateTime ? formatDateTime(value.toDateTime())
                                                                : value.toString());
        return;
    }
    switch (kinds_[column]) {
    case StorageKind::Integer:
        setInteger(column, value.toInt64());
        break;
    case StorageKind::Unsigned:
        // Above the signed range the value is decimal text.
        if (const Decimal* decimal = value.get<Decimal>()) {
            setUnsigned(column, std::stoull(decimal->text));
        } else {
            setUnsigned(column, static_cast<std::uint64_t>(value.toInt64()));
        }
        break;
    case StorageKind::Double:
        setDouble(column, value.toDouble());
        break;
    case StorageKind::Boolean:
        setBoolean(column, value.toBoolean());
        break;
    case StorageKind::DateTime:
        setDateTime(column, value.toDateTime());
        break;
    case StorageKind::Decimal:
        setData(column, value.toDecimal().text);
        break;
    case StorageKind::Text:
    case StorageKind::Binary:
        setData(column, value.toString());
        break;
    }
}

ResultSet::ResultSet(std::vector<ColumnInfo> columns)
    : columns_(std::move(columns)), rows_(columns_) {}

void ResultSet::appendRow(const std::vector<Variant>& values) {
    rows_.beginRow();
    for (std::size_t column = 0; column < values.size() && column < columns_.size(); ++column) {
        rows_.setValue(column, values[column]);
    }
}
