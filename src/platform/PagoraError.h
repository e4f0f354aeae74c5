// The exception raised for programming errors on library objects, and the fixed
// English messages it carries.
#pragma once

#include <stdexcept>
#include <string>

namespace pagora {

class EPagoraError : public std::runtime_error {
public:
  explicit EPagoraError(const std::string& message) : std::runtime_error(message) {}
};

namespace msg {
inline constexpr const char* ItemIndexOutOfBounds = "Item index is out of bounds";
inline constexpr const char* CheckpointAlreadyExists = "Checkpoint already exists";
inline constexpr const char* ParameterCantBeNil = "Parameter can't be NIL";
inline constexpr const char* CantGetSetInfo = "Can't get or set this kind of information for this item";
inline constexpr const char* CantPerformUnicode = "Can't perform Unicode operation";
inline constexpr const char* TagsTypesMismatch = "Can't assign Pagora to Pagora - tags types mismatch";
inline constexpr const char* CantRegisterItemType =
    "Can't register Pagora item type - this StyleNo is already registered";
}  // namespace msg

}  // namespace pagora
