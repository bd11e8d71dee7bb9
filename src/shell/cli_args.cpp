#include "shell/cli_args.h"

namespace ork {

bool TArgScanner::Next() {
  if (++i_ >= args_.size()) return false;
  const std::string& a = args_[i_];
  name_ = a;
  inlineValue_.clear();
  hasValue_ = false;
  if (a.rfind("--", 0) == 0) {
    if (const size_t eq = a.find('='); eq != std::string::npos) {
      name_ = a.substr(0, eq);
      inlineValue_ = a.substr(eq + 1);
      hasValue_ = true;
    }
  }
  return true;
}

bool TArgScanner::TakeValue(std::string& value, std::string& error) {
  if (hasValue_) {
    value = inlineValue_;
    return true;
  }
  if (i_ + 1 >= args_.size()) {
    error = "option " + name_ + " needs a value";
    return false;
  }
  value = args_[++i_];
  return true;
}

bool TArgScanner::NoValue(std::string& error) const {
  if (hasValue_) error = "option " + name_ + " takes no value";
  return !hasValue_;
}

}  // namespace ork
