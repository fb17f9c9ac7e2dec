// How fast the window copies a table against the physical limit of one
// prepared INSERT per row, and how much memory it takes against the values
// it fetches. For each pair it runs, interleaved round by round, the limit
// loop, the headless mover, the main window and, where source and target are
// the same kind, the database's own INSERT ... SELECT; each in a process of
// its own, for its peak memory. Prints medians: rows per second, time ratios
// against the limit, peak resident memory and bytes per row above start-up,
// and what handing every driver call to a worker thread, as the window does,
// costs the headless mover.
// Needs the servers of scripts/db-servers in the environment; scripts/bench
// starts durable ones and runs this.
// Usage: velbrook-bench-speed [--rows N] [--rounds R] [--memory-rows M]
//                             [--pairs sqlite:sqlite@1000,sqlite-nosync:sqlite,...]
//                             [--memory-pairs sqlite-nosync:sqlite,mariadb:postgresql,...]
// A pair's "@N" gives it N rows instead of --rows; sqlite-nosync is SQLite
// with a target that does not sync its commits.
#include "BenchDatabases.h"
#include "SpeedMeasures.h"
#include "dbaccess/TADOConnection.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> variants{"limit", "mover", "handoff", "window", "floor"};

struct Options {
    int rows = 20000;
    int rounds = 3;
    int memoryRows = 0;
    // SQLite's durable commits wait for the disk twice a row: fewer rows there.
    std::string pairs = "sqlite:sqlite@1000,sqlite-nosync:sqlite,sqlite:postgresql,"
                        "postgresql:postgresql,postgresql:mariadb";
    // The pairs of the memory run: one headless copy of memoryRows rows each.
    std::string memoryPairs = "sqlite-nosync:sqlite";
};

std::string self;

// Runs one measurement in a child process; its last line carries the numbers.
Measurement runChild(const std::string& variant, const MeasuredPair& pair) {
    setenv("VELBROOK_BENCH_SOURCE", pair.source.c_str(), 1);
    setenv("VELBROOK_BENCH_TARGET", pair.target.c_str(), 1);
    const std::string command = "'" + self + "' --measure " + variant + " --rows " +
                                std::to_string(pair.rows) + " --engines " + pair.sourceEngine +
                                ":" + pair.targetEngine;
    FILE* child = popen(command.c_str(), "r");
    Measurement result;
    char line[512];
    while (child != nullptr && std::fgets(line, sizeof line, child) != nullptr) {
        std::istringstream words(line);
        std::string tag;
        words >> tag;
        if (tag == "measured") {
            int complete = 0;
            words >> result.seconds >> result.baseBytes >> result.peakBytes >> result.rawBytes >>
                complete;
            result.complete = complete != 0;
        } else {
            std::cerr << line;
        }
    }
    if (child == nullptr || pclose(child) != 0) {
        result.complete = false;
    }
    return result;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void prepare(MeasuredPair& pair, bool syncOff, bool withFloor) {
    const bench::Database source = bench::databaseFor(pair.sourceEngine, "source");
    const bench::Database target = bench::databaseFor(pair.targetEngine, "target", syncOff);
    pair.source = source.connectionString;
    pair.target = target.connectionString;
    TADOConnection sourceConnection;
    sourceConnection.SetConnectionString(pair.source);
    bench::fillTable(sourceConnection, pair.sourceEngine, bench::table, pair.rows);
    TADOConnection targetConnection;
    targetConnection.SetConnectionString(pair.target);
    bench::createTable(targetConnection, pair.targetEngine, bench::table);
    if (withFloor) {
        bench::fillTable(targetConnection, pair.targetEngine, floorTable, pair.rows);
    }
}

void runPair(const std::string& pairText, const Options& options) {
    const auto colon = pairText.find(':');
    const auto at = pairText.find('@');
    std::string sourceEngine = pairText.substr(0, colon);
    const std::string targetEngine = pairText.substr(colon + 1, at - colon - 1);
    const int rows = at == std::string::npos ? options.rows : std::stoi(pairText.substr(at + 1));
    const bool syncOff = sourceEngine == "sqlite-nosync";
    if (syncOff) {
        sourceEngine = "sqlite";
    }
    MeasuredPair pair{sourceEngine, {}, targetEngine, {}, rows};
    const bool withFloor = sourceEngine == targetEngine;
    prepare(pair, syncOff, withFloor);
    std::map<std::string, std::vector<Measurement>> runs;
    for (int round = 0; round < options.rounds; ++round) {
        // Every other round backwards: a drift of the disk or the servers over
        // the round falls on each variant alike.
        std::vector<std::string> order = variants;
        if (round % 2 == 1) {
            std::reverse(order.begin(), order.end());
        }
        for (const std::string& variant : order) {
            if (variant != "floor" || withFloor) {
                runs[variant].push_back(runChild(variant, pair));
            }
        }
    }
    std::map<std::string, double> seconds;
    std::map<std::string, double> peak;
    std::map<std::string, double> perRow;
    bool complete = true;
    double raw = 0;
    for (const auto& [variant, measured] : runs) {
        std::vector<double> times, peaks, perRows;
        for (const Measurement& m : measured) {
            times.push_back(m.seconds);
            peaks.push_back(static_cast<double>(m.peakBytes) / 1e6);
            perRows.push_back(static_cast<double>(m.peakBytes - m.baseBytes) / pair.rows);
            complete = complete && m.complete;
            raw = std::max(raw, static_cast<double>(m.rawBytes) / pair.rows);
        }
        seconds[variant] = median(times);
        peak[variant] = median(peaks);
        perRow[variant] = median(perRows);
    }
    // Ratios of the runs of one round, side by side in time, then their median:
    // the disk and the servers drift over a run more than one round takes.
    const auto ratio = [&](const std::string& variant, const std::string& base) {
        std::vector<double> ratios;
        for (std::size_t r = 0; r < runs[variant].size() && r < runs[base].size(); ++r) {
            ratios.push_back(runs[variant][r].seconds / runs[base][r].seconds);
        }
        return median(ratios);
    };
    std::fprintf(stderr, "rounds, seconds:");
    for (const auto& [variant, measured] : runs) {
        std::fprintf(stderr, " %s", variant.c_str());
        for (const Measurement& m : measured) {
            std::fprintf(stderr, " %.3f", m.seconds);
        }
        std::fprintf(stderr, ";");
    }
    std::fprintf(stderr, "\n");
    const auto rate = [&](const std::string& variant) {
        return seconds.count(variant) != 0 ? pair.rows / seconds[variant] : 0.0;
    };
    std::printf("| %s%s → %s, %d rows | %.0f | %.0f | %.0f | %s | %.2f | %.2f | %.2f | %.0f / %.0f "
                "/ %.0f | %.0f / %.0f | %.0f |%s\n",
                sourceEngine.c_str(), syncOff ? " (target SyncPragma=OFF)" : "",
                targetEngine.c_str(), rows, rate("limit"), rate("mover"), rate("window"),
                withFloor ? std::to_string(static_cast<int>(rate("floor"))).c_str() : "–",
                ratio("mover", "limit"), ratio("window", "limit"), ratio("handoff", "mover"),
                peak["limit"], peak["mover"], peak["window"], perRow["mover"], perRow["window"],
                raw, complete ? "" : " INCOMPLETE");
    std::fflush(stdout);
}

void runMemory(int rows, const std::string& pairText) {
    const auto colon = pairText.find(':');
    std::string sourceEngine = pairText.substr(0, colon);
    const bool syncOff = sourceEngine == "sqlite-nosync";
    if (syncOff) {
        sourceEngine = "sqlite";
    }
    MeasuredPair pair{sourceEngine, {}, pairText.substr(colon + 1), {}, rows};
    prepare(pair, syncOff, false);
    const Measurement m = runChild("mover", pair);
    std::printf("memory: %s → %s%s, %d rows, mover %.0f rows/s, peak %.0f MB, %.0f MB at start, "
                "%.1f bytes per row above it%s\n",
                pair.sourceEngine.c_str(), pair.targetEngine.c_str(),
                syncOff ? " (SyncPragma=OFF)" : "", rows, rows / m.seconds,
                static_cast<double>(m.peakBytes) / 1e6, static_cast<double>(m.baseBytes) / 1e6,
                static_cast<double>(m.peakBytes - m.baseBytes) / rows,
                m.complete ? "" : " INCOMPLETE");
    std::fflush(stdout);
}

int measure(const std::string& variant, const std::string& engines, int rows, int argc,
            char** argv) {
    const auto colon = engines.find(':');
    const MeasuredPair pair{engines.substr(0, colon), std::getenv("VELBROOK_BENCH_SOURCE"),
                            engines.substr(colon + 1), std::getenv("VELBROOK_BENCH_TARGET"), rows};
    const Measurement m = variant == "limit"     ? measureLimit(pair)
                          : variant == "mover"   ? measureMover(pair)
                          : variant == "handoff" ? measureMover(pair, true)
                          : variant == "window"  ? measureWindow(pair, argc, argv)
                                                 : measureFloor(pair);
    std::printf("measured %.6f %lld %lld %lld %d\n", m.seconds, static_cast<long long>(m.baseBytes),
                static_cast<long long>(m.peakBytes), static_cast<long long>(m.rawBytes),
                m.complete ? 1 : 0);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    self = "/proc/self/exe";
    char path[4096];
    if (const auto length = readlink("/proc/self/exe", path, sizeof path - 1); length > 0) {
        self.assign(path, static_cast<std::size_t>(length));
    }
    Options options;
    std::string variant, engines;
    const std::set<std::string> keys = {"--rows",    "--rounds",  "--memory-rows", "--pairs",
                                        "--measure", "--engines", "--memory-pairs"};
    for (int i = 1; i < argc; i += 2) {
        const std::string key = argv[i];
        if (keys.count(key) == 0 || i + 1 == argc) {
            std::cerr << "usage: velbrook-bench-speed [--rows N] [--rounds R] [--memory-rows M] "
                         "[--pairs LIST] [--memory-pairs LIST]\n";
            return 2;
        }
        const std::string value = argv[i + 1];
        if (key == "--rows") {
            options.rows = std::stoi(value);
        } else if (key == "--rounds") {
            options.rounds = std::stoi(value);
        } else if (key == "--memory-rows") {
            options.memoryRows = std::stoi(value);
        } else if (key == "--pairs") {
            options.pairs = value == "none" ? "" : value;
        } else if (key == "--memory-pairs") {
            options.memoryPairs = value;
        } else if (key == "--measure") {
            variant = value;
        } else {
            engines = value;
        }
    }
    try {
        if (!variant.empty()) {
            return measure(variant, engines, options.rows, argc, argv);
        }
        if (!options.pairs.empty()) {
            std::printf("%d rounds, medians; ratios are times against the limit's\n\n",
                        options.rounds);
            std::printf("| pair | limit rows/s | mover rows/s | window rows/s | INSERT…SELECT "
                        "rows/s | mover/limit | window/limit | hand-off/mover | peak MB limit / "
                        "mover / window | bytes/row mover / window | raw bytes/row |\n|---|---|---"
                        "|---|---|---|---|---|---|---|---|\n");
        }
        std::stringstream pairs(options.pairs);
        for (std::string pairText; std::getline(pairs, pairText, ',');) {
            runPair(pairText, options);
        }
        std::stringstream memoryPairs(options.memoryPairs);
        for (std::string pairText;
             options.memoryRows > 0 && std::getline(memoryPairs, pairText, ',');) {
            runMemory(options.memoryRows, pairText);
        }
    } catch (const std::exception& error) {
        std::cerr << "bench failed: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
