#include "color/beginner_name.h"

namespace ork {

std::string*& BeginnerNameSlot() {
  static std::string* slot = nullptr;
  return slot;
}

}  // namespace ork
