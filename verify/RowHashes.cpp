#include "RowHashes.h"

namespace {

// FNV-1a over bytes, from a given start.
class Fnv {
public:
    explicit Fnv(std::uint64_t start) : hash_(start) {}
    void add(unsigned char byte) {
        hash_ ^= byte;
        hash_ *= 0x100000001b3ULL;
    }
    void add(const std::string& text) {
        for (const char c : text) {
            add(static_cast<unsigned char>(c));
        }
    }
    std::uint64_t value() const { return hash_; }

private:
    std::uint64_t hash_;
};

// Each value's length goes first, so that no two rows run together alike;
// NULL has a length no value has.
void addValue(Fnv& hash, const std::optional<std::string>& value) {
    const std::uint64_t length = value ? value->size() : ~0ULL;
    for (int shift = 0; shift < 64; shift += 8) {
        hash.add(static_cast<unsigned char>(length >> shift));
    }
    if (value) {
        hash.add(*value);
    }
}

} // namespace

RowHash hashRow(const std::vector<std::optional<std::string>>& row) {
    Fnv first(0xcbf29ce484222325ULL);
    Fnv second(0x84222325cbf29ce4ULL);
    for (const auto& value : row) {
        addValue(first, value);
        second.add(0x5A);
        addValue(second, value);
    }
    return {first.value(), second.value()};
}
