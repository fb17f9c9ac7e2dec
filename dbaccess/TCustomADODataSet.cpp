#include "TCustomADODataSet.h"

#include "dbaccess/InsertStatementCache.h"
#include "dbaccess/TADOConnection.h"
#include "dbaccess/odbc/ResultSet.h"
#include "dbaccess/values/Exceptions.h"
#include "dbaccess/values/TStrings.h"

#include <algorithm>

namespace {

// A name that is free among the fields built so far: name, or name_N / COLUMNN.
std::string uniqueFieldName(const std::string& columnName,
                            const std::vector<std::unique_ptr<TField>>& fields) {
    const auto taken = [&fields](const std::string& candidate) {
        return std::any_of(fields.begin(), fields.end(), [&](const auto& field) {
            return sameTextIgnoringCase(field->FieldName(), candidate);
        });
    };
    if (!columnName.empty() && !taken(columnName)) {
        return columnName;
    }
    for (int counter = 1;; ++counter) {
        const std::string candidate = columnName.empty()
                                          ? "COLUMN" + std::to_string(counter)
                                          : columnName + "_" + std::to_string(counter);
        if (!taken(candidate)) {
            return candidate;
        }
    }
}

} // namespace

TCustomADODataSet::TCustomADODataSet(std::string name, TADOConnection* connection)
    : name_(std::move(name)) {
    SetConnection(connection);
}

TCustomADODataSet::~TCustomADODataSet() {
    if (connection_ != nullptr) {
        connection_->detach(this);
    }
}

void TCustomADODataSet::SetConnection(TADOConnection* connection) {
    if (connection == connection_) {
        return;
    }
    Close();
    if (connection_ != nullptr) {
        connection_->detach(this);
    }
    connection_ = connection;
    if (connection_ != nullptr) {
        connection_->attach(this);
    }
}

void TCustomADODataSet::SetEnableBCD(bool enable) {
    checkInactive();
    enableBCD_ = enable;
}

void TCustomADODataSet::raise(const std::string& text) const {
    throw EDatabaseError(prefixWithName(name_, text));
}

void TCustomADODataSet::checkInactive() const {
    if (Active()) {
        raise("Cannot perform this operation on an open dataset");
    }
}

void TCustomADODataSet::checkActive() const {
    if (!Active()) {
        raise("Cannot perform this operation on a closed dataset");
    }
}

TADOConnection& TCustomADODataSet::requireConnection() const {
    if (connection_ == nullptr) {
        raise("Missing Connection or ConnectionString");
    }
    return *connection_;
}

void TCustomADODataSet::Open() {
    if (Active()) {
        return;
    }
    openOn(openResult());
}

void TCustomADODataSet::openOn(std::unique_ptr<ResultSet> result) {
    closeWithoutNotice();
    result_ = std::move(result);
    try {
        buildFields();
    } catch (...) {
        closeWithoutNotice();
        throw;
    }
    currentRow_ = 0;
    blockStart_ = 0;
    atEnd_ = result_->rowCount() == 0;
    setState(dsBrowse);
}

void TCustomADODataSet::buildFields() {
    const auto& columns = result_->columns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const ColumnInfo& column = columns[i];
        TFieldType type = ProviderTypeToFieldType(column.providerType, enableBCD_);
        if (column.providerType == ProviderType::Numeric && column.scale == 0 &&
            column.precision < 10 && type == ftBCD) {
            type = ftInteger;
        }
        if (type == ftInteger && column.autoIncrement) {
            type = ftAutoInc;
        }
        if (type == ftUnknown || column.rowId) {
            continue;
        }
        auto field = createField(*this, static_cast<int>(i), column, type,
                                 uniqueFieldName(column.name, fields_));
        if (field) {
            fields_.push_back(std::move(field));
        }
    }
}

void TCustomADODataSet::Close() {
    closeWithoutNotice();
}

void TCustomADODataSet::closeWithoutNotice() {
    // First: rows still on their way hold the session.
    inserts_.reset();
    fields_.clear();
    result_.reset();
    pendingValues_.clear();
    assignedFields_.clear();
    postedRow_.clear();
    postedRows_ = 0;
    onPostedRow_ = false;
    atEnd_ = true;
    currentRow_ = 0;
    blockStart_ = 0;
    setState(dsInactive);
}

void TCustomADODataSet::setState(TDataSetState state) {
    state_ = state;
    modified_ = false;
}

int TCustomADODataSet::RecordCount() const {
    checkActive();
    const std::int64_t rows = result_->stream ? result_->stream->rowCount()
                                              : static_cast<std::int64_t>(result_->rowCount());
    return static_cast<int>(rows + postedRows_);
}

std::int64_t TCustomADODataSet::blockEnd() const noexcept {
    return blockStart_ + static_cast<std::int64_t>(result_->rowCount());
}

void TCustomADODataSet::Rewind() {
    checkActive();
    finishPendingRow();
    onPostedRow_ = false;
    if (blockStart_ != 0) {
        result_->stream->restart(result_->rows());
        blockStart_ = 0;
    }
    currentRow_ = 0;
    atEnd_ = result_->rowCount() == 0;
}

void TCustomADODataSet::Advance() {
    checkActive();
    finishPendingRow();
    if (onPostedRow_) {
        atEnd_ = true;
    } else if (currentRow_ + 1 < blockEnd()) {
        ++currentRow_;
    } else if (result_->stream && currentRow_ + 1 == blockEnd()) {
        const std::int64_t next = blockEnd();
        if (result_->stream->nextBlock(result_->rows())) {
            blockStart_ = next;
            currentRow_ = next;
        } else {
            atEnd_ = true;
        }
    } else {
        atEnd_ = true;
    }
}

void TCustomADODataSet::parkStream(const RowStream* except) {
    if (result_ && result_->stream && result_->stream.get() != except) {
        result_->stream->park();
    }
}

TField* TCustomADODataSet::FindField(const std::string& name) const {
    for (const auto& field : fields_) {
        if (sameTextIgnoringCase(field->FieldName(), name)) {
            return field.get();
        }
    }
    return nullptr;
}

TField& TCustomADODataSet::RequireField(const std::string& name) const {
    TField* field = FindField(name);
    if (field == nullptr) {
        raise("Field '" + name + "' not found");
    }
    return *field;
}

void TCustomADODataSet::finishPendingRow() {
    if (state_ != dsInsert && state_ != dsEdit) {
        return;
    }
    if (modified_) {
        Post();
    } else {
        pendingValues_.clear();
        assignedFields_.clear();
        setState(dsBrowse);
    }
}

void TCustomADODataSet::Append() {
    checkActive();
    finishPendingRow();
    if (!result_->canInsert || insertTableName().empty()) {
        raise("Cannot modify a read-only dataset");
    }
    pendingValues_.assign(result_->columns().size(), Variant::null());
    assignedFields_.clear();
    setState(dsInsert);
}

namespace {

// A refusal as the data set raises it: the SQLSTATE tells a refused row from
// a lost connection or a full disk.
[[noreturn]] void raiseAsDatabaseError(std::exception_ptr failure) {
    try {
        std::rethrow_exception(std::move(failure));
    } catch (const EOleException& error) {
        throw EDatabaseError(error.Message(), error.SqlState(), error.NativeError());
    } catch (const EDatabaseError&) {
        throw;
    } catch (const std::exception& error) {
        throw EDatabaseError(error.what());
    }
}

} // namespace

InsertStatementCache& TCustomADODataSet::inserts() {
    if (!inserts_) {
        inserts_ = std::make_unique<InsertStatementCache>(requireConnection(), insertTableName(),
                                                          result_->columns());
    }
    return *inserts_;
}

std::vector<std::size_t> TCustomADODataSet::insertedColumns() const {
    std::vector<std::size_t> columns;
    for (const int index : assignedFields_) {
        const ColumnInfo& column = result_->columns()[static_cast<std::size_t>(index)];
        if (column.updatability != Updatability::ReadOnly) {
            columns.push_back(static_cast<std::size_t>(index));
        }
    }
    return columns;
}

void TCustomADODataSet::Post() {
    if (state_ != dsInsert && state_ != dsEdit) {
        raise("Dataset not in edit or insert mode");
    }
    try {
        const std::vector<std::size_t> columns = insertedColumns();
        std::vector<const Variant*> values;
        for (const std::size_t column : columns) {
            values.push_back(&pendingValues_[column]);
        }
        inserts().insert(columns, values);
    } catch (...) {
        raiseAsDatabaseError(std::current_exception());
    }
    postedRow_.swap(pendingValues_);
    ++postedRows_;
    onPostedRow_ = true;
    atEnd_ = false;
    pendingValues_.clear();
    assignedFields_.clear();
    setState(dsBrowse);
}

void TCustomADODataSet::PostQueued() {
    if (state_ != dsInsert && state_ != dsEdit) {
        raise("Dataset not in edit or insert mode");
    }
    try {
        const std::vector<std::size_t> columns = insertedColumns();
        std::vector<Variant> values;
        values.reserve(columns.size());
        for (const std::size_t column : columns) {
            values.push_back(std::move(pendingValues_[column]));
        }
        inserts().queue(columns, std::move(values));
    } catch (...) {
        raiseAsDatabaseError(std::current_exception());
    }
    onPostedRow_ = false;
    pendingValues_.clear();
    assignedFields_.clear();
    setState(dsBrowse);
}

std::size_t TCustomADODataSet::QueuedRows() const noexcept {
    return inserts_ ? inserts_->queuedRows() : 0;
}

std::size_t TCustomADODataSet::QueuedBytes() const noexcept {
    return inserts_ ? inserts_->queuedBytes() : 0;
}

void TCustomADODataSet::DropQueued() noexcept {
    if (inserts_) {
        inserts_->dropQueued();
    }
}

bool TCustomADODataSet::StartSend() {
    try {
        return inserts_ && inserts_->startSend();
    } catch (...) {
        raiseAsDatabaseError(std::current_exception());
    }
}

bool TCustomADODataSet::Sending() const noexcept {
    return inserts_ && inserts_->sending();
}

void TCustomADODataSet::AbandonSend() noexcept {
    if (inserts_) {
        inserts_->abandonSend();
    }
}

std::vector<std::exception_ptr> TCustomADODataSet::SendQueued() {
    if (!inserts_) {
        return {};
    }
    std::vector<std::exception_ptr> outcomes;
    try {
        outcomes = inserts_->sendQueued();
    } catch (...) {
        raiseAsDatabaseError(std::current_exception());
    }
    for (std::exception_ptr& outcome : outcomes) {
        if (outcome == nullptr) {
            ++postedRows_;
            continue;
        }
        try {
            raiseAsDatabaseError(outcome);
        } catch (const EDatabaseError&) {
            outcome = std::current_exception();
        }
    }
    return outcomes;
}

void TCustomADODataSet::Cancel() {
    if (state_ != dsInsert && state_ != dsEdit) {
        return;
    }
    pendingValues_.clear();
    assignedFields_.clear();
    setState(dsBrowse);
}

bool TCustomADODataSet::hasCurrentRow() const noexcept {
    if (state_ == dsInsert || state_ == dsEdit || onPostedRow_) {
        return true;
    }
    return result_ && currentRow_ >= blockStart_ && currentRow_ < blockEnd();
}

Variant TCustomADODataSet::storedValue(const TField& field) const {
    const auto column = static_cast<std::size_t>(field.ColumnIndex());
    if (state_ == dsInsert || state_ == dsEdit) {
        return pendingValues_[column];
    }
    if (onPostedRow_) {
        return postedRow_[column];
    }
    if (!hasCurrentRow()) {
        return Variant::null();
    }
    return result_->rows().value(static_cast<std::size_t>(currentRow_ - blockStart_), column);
}

bool TCustomADODataSet::storedIsNull(const TField& field) const {
    const auto column = static_cast<std::size_t>(field.ColumnIndex());
    if (state_ == dsInsert || state_ == dsEdit) {
        return pendingValues_[column].isEmpty();
    }
    if (onPostedRow_) {
        return postedRow_[column].isEmpty();
    }
    if (!hasCurrentRow()) {
        return true;
    }
    return result_->rows().isNull(static_cast<std::size_t>(currentRow_ - blockStart_), column);
}

void TCustomADODataSet::storeFieldValue(const TField& field, Variant value) {
    if (state_ != dsInsert && state_ != dsEdit) {
        raise("Dataset not in edit or insert mode");
    }
    if (field.ReadOnly()) {
        const std::string text = "Field '" + field.FieldName() + "' cannot be modified";
        throw EDatabaseError(field.IsBlob() ? prefixWithName(name_, text) : text);
    }
    pendingValues_[static_cast<std::size_t>(field.ColumnIndex())] = std::move(value);
    if (std::find(assignedFields_.begin(), assignedFields_.end(), field.ColumnIndex()) ==
        assignedFields_.end()) {
        assignedFields_.push_back(field.ColumnIndex());
    }
    modified_ = true;
}
