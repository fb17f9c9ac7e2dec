#include "TargetClaims.h"

std::string TargetClaims::claim(TADOConnection& target, const std::string& targetName,
                                const std::string& sourceName) {
    const auto [place, added] = claimed_.emplace(target.TableKey(targetName), sourceName);
    return added ? std::string() : place->second;
}
