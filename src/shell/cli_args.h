// Command-line arguments one at a time, for the renderer's parsers. Options
// with a value accept both "--name value" and "--name=value".
#pragma once

#include <string>
#include <vector>

namespace ork {

class TArgScanner {
 public:
  explicit TArgScanner(const std::vector<std::string>& args) : args_(args) {}

  // Moves to the next argument; false when there is none.
  bool Next();
  // The argument as given, and its option name ("--out" of "--out=a.png").
  const std::string& Arg() const { return args_[i_]; }
  const std::string& Name() const { return name_; }

  // The option's value: the part after "=" or the next argument. False,
  // with `error` set, when there is none.
  bool TakeValue(std::string& value, std::string& error);
  // False, with `error` set, when a value was given with "=".
  bool NoValue(std::string& error) const;

 private:
  const std::vector<std::string>& args_;
  size_t i_ = static_cast<size_t>(-1);
  std::string name_;
  std::string inlineValue_;
  bool hasValue_ = false;
};

}  // namespace ork
