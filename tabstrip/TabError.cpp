#include "tabstrip/TabError.h"

namespace tabstrip {

namespace {
const char* Text(TabErrc code) {
  switch (code) {
    case TabErrc::InvalidArgument: return "Invalid procedure call or argument";
    case TabErrc::OutOfRange: return "Subscript out of range";
    case TabErrc::DuplicateKey: return "This key is already associated with an element of this collection";
    case TabErrc::KeyNotFound: return "Invalid procedure call or argument: no tab has this key";
  }
  return "Tab model error";
}
}  // namespace

TabError::TabError(TabErrc code) : std::runtime_error(Text(code)), code_(code) {}

}  // namespace tabstrip
