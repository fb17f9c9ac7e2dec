#include "VariantFields.h"

Variant TInterfaceField::readValue(const Variant& stored) const {
    if (stored.kind() != Variant::Kind::InterfaceRef) {
        return Variant::null();
    }
    return stored;
}

Variant TInterfaceField::convertValue(const Variant& value, std::string&) const {
    if (value.kind() != Variant::Kind::InterfaceRef) {
        raiseInvalidValue();
    }
    return value;
}
