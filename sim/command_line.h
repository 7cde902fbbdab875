#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace quillon::sim {

// Reads arguments the way `yardmark-sim` and `quillon-demo` both take them: flags on their
// own, and value options as "--name value" or "--name=value". `flags` set what a flag means;
// `values` store a value and say whether it was usable. Returns "" when every argument made
// sense, else the complaint for the user.
template <typename Options>
std::string ReadCommandLine(
    const std::vector<std::string>& arguments,
    const std::map<std::string, std::function<void(Options&)>>& flags,
    const std::map<std::string, std::function<bool(Options&, const std::string&)>>& values,
    Options& options) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string name = arguments[i];
    std::string value;
    bool hasValue = false;
    if (const auto equals = name.find('='); name.starts_with("--") && equals != std::string::npos) {
      value = name.substr(equals + 1);
      name.resize(equals);
      hasValue = true;
    }
    if (const auto flag = flags.find(name); flag != flags.end()) {
      if (hasValue)
        return name + " takes no value";
      flag->second(options);
      continue;
    }
    const auto option = values.find(name);
    if (option == values.end())
      return "unknown option " + arguments[i];
    if (!hasValue) {
      if (i + 1 >= arguments.size())
        return name + " needs a value";
      value = arguments[++i];
    }
    if (!option->second(options, value))
      return "bad value for " + name + ": \"" + value + "\"";
  }
  return "";
}

} // namespace quillon::sim
