#pragma once

#include "TableReader.h"

#include <string>

// Where a SQLite storage class counts, a marker byte and the class's letter
// go in front of the value's canonical text.
inline constexpr char classMarker = '\x01';

inline char classLetter(StorageClass storageClass) {
    switch (storageClass) {
    case StorageClass::Integer:
        return 'i';
    case StorageClass::Real:
        return 'r';
    case StorageClass::Text:
        return 't';
    case StorageClass::Blob:
        return 'b';
    case StorageClass::None:
        break;
    }
    return '?';
}

inline const char* className(char letter) {
    switch (letter) {
    case 'i':
        return "integer";
    case 'r':
        return "real";
    case 't':
        return "text";
    default:
        return "blob";
    }
}

inline bool isMarked(const std::string& canonical) {
    return canonical.size() >= 2 && canonical[0] == classMarker;
}

inline std::string unmarked(const std::string& canonical) {
    return isMarked(canonical) ? canonical.substr(2) : canonical;
}
