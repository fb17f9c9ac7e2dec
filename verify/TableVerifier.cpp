#include "TableVerifier.h"

#include "CanonicalReader.h"
#include "CanonicalValue.h"
#include "ReadAhead.h"
#include "RowHashes.h"
#include "ShownValue.h"
#include "SideReading.h"
#include "dbaccess/TADOConnection.h"

#include <algorithm>
#include <optional>

namespace {

constexpr std::int64_t rowsBetweenChecks = 256;

// The keys came back in another order than the comparison's: the rows are
// matched as multisets instead.
struct OrderMismatch {};

struct StoppedByUser {};

class DifferenceList {
public:
    explicit DifferenceList(VerifyOutcome& outcome) : outcome_(outcome) {}
    void add(std::string text) {
        if (outcome_.shown.size() < shownDifferences) {
            outcome_.shown.push_back(std::move(text));
        } else {
            ++outcome_.hidden;
        }
    }

private:
    VerifyOutcome& outcome_;
};

class Verification {
public:
    Verification(const VerifiedTable& table, const std::function<bool()>& keepGoing)
        : table_(table), keepGoing_(keepGoing), source_{table.source, table.sourceTable, {}, {}},
          target_{table.target, table.targetTable, {}, {}} {
        for (const VerifiedColumn& column : table.columns) {
            source_.columns.push_back(&column.source);
            target_.columns.push_back(&column.target);
            families_.push_back(familyOf(column.source, column.target));
        }
    }

    VerifyOutcome run() {
        try {
            if (!table_.keys.empty()) {
                try {
                    return byKey();
                } catch (const OrderMismatch&) {
                }
            }
            return asMultisets();
        } catch (const StoppedByUser&) {
            VerifyOutcome stopped;
            stopped.stopped = true;
            return stopped;
        }
    }

private:
    void checkIn(std::int64_t rows) {
        if (rows % rowsBetweenChecks == 0 && !keepGoing_()) {
            throw StoppedByUser{};
        }
    }

    int compareKeys(const CanonicalRow& a, const CanonicalRow& b) const {
        for (const std::size_t key : table_.keys) {
            if (a[key] != b[key]) {
                if (!a[key] || !b[key]) {
                    return !a[key] ? -1 : 1;
                }
                const int order = compareCanonical(families_[key], *a[key], *b[key]);
                if (order != 0) {
                    return order;
                }
            }
        }
        return 0;
    }

    std::string keyText(const CanonicalRow& row) const {
        std::string text;
        for (const std::size_t key : table_.keys) {
            text += (text.empty() ? "" : ", ") + table_.columns[key].source.name + "=" +
                    (row[key] ? shownValue(families_[key], *row[key], false) : "NULL");
        }
        return text;
    }

    std::string shown(std::size_t column, const std::optional<std::string>& value) const {
        return value ? shownValue(families_[column], *value) : "NULL";
    }

    // Rows come in key order; a key that goes back means another order.
    bool advance(CanonicalRows& reader, CanonicalRow& row, CanonicalRow& previous, bool& started) {
        if (started) {
            previous.swap(row);
        }
        if (!reader.next(row)) {
            return false;
        }
        if (started && compareKeys(previous, row) >= 0) {
            throw OrderMismatch{};
        }
        started = true;
        return true;
    }

    VerifyOutcome byKey() {
        VerifyOutcome outcome;
        DifferenceList differences(outcome);
        source_.keys = table_.keys;
        target_.keys = table_.keys;
        auto sourceReader = std::make_unique<CanonicalReader>(source_, families_);
        auto targetReader = std::make_unique<CanonicalReader>(target_, families_);
        noteReadings(outcome, *sourceReader, *targetReader);
        const std::unique_ptr<CanonicalRows> sourceRows = readAhead(std::move(sourceReader));
        const std::unique_ptr<CanonicalRows> targetRows = readAhead(std::move(targetReader));
        CanonicalRow source, target, previousSource, previousTarget;
        bool sourceStarted = false, targetStarted = false;
        bool haveSource = advance(*sourceRows, source, previousSource, sourceStarted);
        bool haveTarget = advance(*targetRows, target, previousTarget, targetStarted);
        std::int64_t rows = 0;
        while (haveSource || haveTarget) {
            checkIn(++rows);
            const int order = !haveTarget ? -1 : !haveSource ? 1 : compareKeys(source, target);
            if (order < 0) {
                differences.add("row " + keyText(source) + ": missing in the target");
            } else if (order > 0) {
                differences.add("row " + keyText(target) + ": in the target only");
            } else {
                bool identical = true;
                for (std::size_t i = 0; i < source.size(); ++i) {
                    if (source[i] != target[i]) {
                        identical = false;
                        differences.add("row " + keyText(source) + ", column " +
                                        table_.columns[i].source.name + ": source " +
                                        shown(i, source[i]) + ", target " + shown(i, target[i]));
                    }
                }
                outcome.identicalRows += identical ? 1 : 0;
            }
            if (order <= 0) {
                ++outcome.sourceRows;
                haveSource = advance(*sourceRows, source, previousSource, sourceStarted);
            }
            if (order >= 0) {
                haveTarget = advance(*targetRows, target, previousTarget, targetStarted);
            }
        }
        return outcome;
    }

    // A side read through its own library is read on a thread of its own,
    // both sides at once; waiting for it still lets the user stop.
    std::unique_ptr<CanonicalRows> readAhead(std::unique_ptr<CanonicalReader> reader) {
        if (reader->reading().throughDriver) {
            return reader;
        }
        return std::make_unique<ReadAhead>(std::move(reader), [this] {
            if (!keepGoing_()) {
                throw StoppedByUser{};
            }
        });
    }

    // Between two SQLite databases read as such, a value's class is part of it.
    static void noteReadings(VerifyOutcome& outcome, CanonicalReader& source,
                             CanonicalReader& target) {
        const bool classesCount = source.readsSQLiteClasses() && target.readsSQLiteClasses();
        source.countClasses(classesCount);
        target.countClasses(classesCount);
        outcome.sourceThroughDriver = source.reading().throughDriver;
        outcome.sourceFallback = source.reading().fallback;
        outcome.targetThroughDriver = target.reading().throughDriver;
        outcome.targetFallback = target.reading().fallback;
    }

    std::vector<RowHash> hashes(CanonicalRows& reader, std::int64_t& rows) {
        std::vector<RowHash> result;
        CanonicalRow row;
        while (reader.next(row)) {
            checkIn(++rows);
            result.push_back(hashRow(row));
        }
        std::sort(result.begin(), result.end());
        return result;
    }

    VerifyOutcome asMultisets() {
        VerifyOutcome outcome;
        DifferenceList differences(outcome);
        std::int64_t rows = 0;
        source_.keys.clear();
        target_.keys.clear();
        CanonicalReader sourceRows(source_, families_);
        CanonicalReader targetRows(target_, families_);
        noteReadings(outcome, sourceRows, targetRows);
        const std::vector<RowHash> source = hashes(sourceRows, rows);
        const std::vector<RowHash> target = hashes(targetRows, rows);
        outcome.sourceRows = static_cast<std::int64_t>(source.size());
        std::vector<RowHash> common;
        std::set_intersection(source.begin(), source.end(), target.begin(), target.end(),
                              std::back_inserter(common));
        outcome.identicalRows = static_cast<std::int64_t>(common.size());
        const auto missing = static_cast<std::int64_t>(source.size() - common.size());
        const auto extra = static_cast<std::int64_t>(target.size() - common.size());
        if (missing > 0) {
            differences.add(std::to_string(missing) + " source row" + (missing == 1 ? "" : "s") +
                            " not found in the target");
        }
        if (extra > 0) {
            differences.add(std::to_string(extra) + " target row" + (extra == 1 ? "" : "s") +
                            " not found in the source");
        }
        return outcome;
    }

    const VerifiedTable& table_;
    const std::function<bool()>& keepGoing_;
    ReadRequest source_;
    ReadRequest target_;
    std::vector<ValueFamily> families_;
};

} // namespace

VerifyOutcome verifyTable(const VerifiedTable& table, const std::function<bool()>& keepGoing) {
    return Verification(table, keepGoing).run();
}
