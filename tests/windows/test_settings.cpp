#include "tests/windows/test_settings.h"

#include <cstdlib>
#include <map>

namespace quillon::wintest {

std::optional<TestSettings> ParseSettings(const std::vector<std::string>& arguments,
                                          std::string& error) {
  TestSettings settings;
  std::string scale;
  const std::map<std::string, std::string*> texts = {
      {"--suite", &settings.suite},           {"--port", &settings.port},
      {"--missing-port", &settings.missingPort}, {"--time-scale", &scale},
      {"--firmware", &settings.firmwarePath}, {"--battery", &settings.battery},
      {"--identity", &settings.identity},     {"--app-version", &settings.appVersion},
      {"--gps-version", &settings.gpsVersion}, {"--new-gps-version", &settings.newGpsVersion},
  };
  for (std::size_t i = 0; i < arguments.size(); i += 2) {
    const auto found = texts.find(arguments[i]);
    if (found == texts.end() || i + 1 >= arguments.size()) {
      error = "unknown argument or missing value: " + arguments[i];
      return std::nullopt;
    }
    *found->second = arguments[i + 1];
  }
  if (!scale.empty()) {
    char* end = nullptr;
    settings.timeScale = std::strtod(scale.c_str(), &end);
    if (end == scale.c_str() || *end != '\0' || !(settings.timeScale > 0.0)) {
      error = "--time-scale needs a positive number";
      return std::nullopt;
    }
  }
  if (settings.suite != "update" && settings.suite != "verify" && settings.suite != "unplug" &&
      settings.suite != "listed-port") {
    error = "--suite is update, verify, unplug or listed-port";
    return std::nullopt;
  }
  return settings;
}

} // namespace quillon::wintest
