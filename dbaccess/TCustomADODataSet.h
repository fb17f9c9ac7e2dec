#pragma once

#include "dbaccess/fields/TField.h"
#include "dbaccess/values/Variant.h"

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

class TADOConnection;
class ResultSet;
class InsertStatementCache;
class RowStream;

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

// What the table cursor, the query and the schema rowset have in common:
// states, fields, a fully fetched client-side result and a pending row.
class TCustomADODataSet : public FieldStore {
public:
    explicit TCustomADODataSet(std::string name = {}, TADOConnection* connection = nullptr);
    ~TCustomADODataSet() override;
    TCustomADODataSet(const TCustomADODataSet&) = delete;
    TCustomADODataSet& operator=(const TCustomADODataSet&) = delete;

    const std::string& Name() const noexcept { return name_; }
    TADOConnection* Connection() const noexcept { return connection_; }
    void SetConnection(TADOConnection* connection);

    bool EnableBCD() const noexcept { return enableBCD_; }
    void SetEnableBCD(bool enable);

    TDataSetState State() const noexcept { return state_; }
    bool Active() const noexcept { return state_ != dsInactive; }
    bool Modified() const noexcept { return modified_; }

    void Open();
    void Close();

    void Rewind();
    void Advance();
    bool AtEnd() const noexcept { return atEnd_; }
    // Rows of the open data set, those posted through it included.
    int RecordCount() const;

    int FieldCount() const noexcept { return static_cast<int>(fields_.size()); }
    TField& Fields(int index) const { return *fields_.at(static_cast<std::size_t>(index)); }
    TField* FindField(const std::string& name) const;
    TField& RequireField(const std::string& name) const;

    void Append();
    void Post();
    // Post for a row sent later, with the others queued, by SendQueued():
    // what Post checks before sending raises here. The queued row is not
    // the current row after.
    void PostQueued();
    std::size_t QueuedRows() const noexcept;
    // The bytes of the queued rows' text and binary values.
    std::size_t QueuedBytes() const noexcept;
    // Sends queued rows, each its own INSERT, in one call of the session: up
    // to the first that fails. For each row sent, in order, null when it
    // arrived, otherwise the EDatabaseError that refused it; the rest stay
    // queued. Raises what ends the call (a cancel).
    std::vector<std::exception_ptr> SendQueued();
    // Starts sending queued rows as SendQueued() does and returns at once:
    // rows may be queued while they are on their way, and the next
    // SendQueued() waits for them and gives their outcomes. False, with
    // nothing sent, when they cannot go that way; SendQueued() sends them then.
    bool StartSend();
    bool Sending() const noexcept;
    // Gives the rows on their way up: cancelled, outcomes unknown.
    void AbandonSend() noexcept;
    void DropQueued() noexcept;
    // Drops a pending row without sending it.
    void Cancel();

    // Used by TField.
    Variant storedValue(const TField& field) const override;
    bool storedIsNull(const TField& field) const override;
    bool hasCurrentRow() const noexcept override;
    void storeFieldValue(const TField& field, Variant value) override;

    // The open data set's result; used by the layer's own helpers.
    const ResultSet* result() const noexcept { return result_.get(); }
    // Lets a table read in blocks stand aside for another statement; the
    // connection asks before each one.
    void parkStream(const RowStream* except);

protected:
    // Runs the data set's source and hands back its fully fetched result.
    virtual std::unique_ptr<ResultSet> openResult() = 0;
    // The table that Post inserts into; empty when the data set cannot insert.
    virtual std::string insertTableName() const { return {}; }

    // Opens on a result that was built elsewhere (schema rowsets).
    void openOn(std::unique_ptr<ResultSet> result);
    [[noreturn]] void raise(const std::string& text) const;
    void checkInactive() const;
    void checkActive() const;
    TADOConnection& requireConnection() const;

private:
    friend class TADOConnection;

    void buildFields();
    void finishPendingRow();
    InsertStatementCache& inserts();
    // The pending row's columns that an INSERT sets.
    std::vector<std::size_t> insertedColumns() const;
    void setState(TDataSetState state);
    void closeWithoutNotice();
    std::int64_t blockEnd() const noexcept;

    std::string name_;
    TADOConnection* connection_ = nullptr;
    bool enableBCD_ = true;
    TDataSetState state_ = dsInactive;
    bool modified_ = false;
    bool atEnd_ = true;
    // The current row, counted from the first, and the first row of the
    // block that the result holds.
    std::int64_t currentRow_ = 0;
    std::int64_t blockStart_ = 0;
    std::unique_ptr<ResultSet> result_;
    // Posted rows are sent, not kept: the last one is the current row after
    // its post, after the rows of the result.
    std::vector<Variant> postedRow_;
    std::int64_t postedRows_ = 0;
    bool onPostedRow_ = false;
    std::vector<std::unique_ptr<TField>> fields_;
    std::vector<Variant> pendingValues_;
    std::vector<int> assignedFields_;
    std::unique_ptr<InsertStatementCache> inserts_;
};
