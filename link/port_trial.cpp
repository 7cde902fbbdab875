// The lines that tell support staff which ports discovery tried and why it passed each over.

#include "link/port_trial.h"

#include "link/port_list.h"

#include <optional>

namespace quillon {
namespace {

using Outcome = PortTrial::Outcome;

bool IsNotPresent(const PortTrial& trial) {
  return trial.outcome == Outcome::NotOpened && trial.failure &&
         trial.failure->error == PortError::Gone;
}

// " (system error N)", or nothing when the system named no error.
std::string SystemError(const PortResult& failure) {
  if (!failure || failure->systemError == 0)
    return {};
  return " (system error " + std::to_string(failure->systemError) + ")";
}

std::string WhyNotOpened(const PortResult& failure) {
  const PortError error = failure ? failure->error : PortError::Other;
  if (error == PortError::Busy)
    return "busy, another program holds it" + SystemError(failure);
  if (error != PortError::Denied)
    return "could not be opened" + SystemError(failure);
  std::string why = "permission denied" + SystemError(failure);
  if (const std::string_view advice = DeniedPortAdvice(); !advice.empty())
    why.append(": ").append(advice);
  return why;
}

std::string WhyGreetingFailed(const PortResult& failure) {
  const PortError error = failure ? failure->error : PortError::Other;
  if (error == PortError::Gone)
    return "disconnected during the search" + SystemError(failure);
  if (error == PortError::TimedOut)
    return "the greeting could not be sent in time" + SystemError(failure);
  return "the greeting could not be sent" + SystemError(failure);
}

std::string WhyPassedOver(const PortTrial& trial) {
  switch (trial.outcome) {
  case Outcome::NameTooLong:
    return "its name is too long to keep";
  case Outcome::NotOpened:
    return WhyNotOpened(trial.failure);
  case Outcome::LineRefused:
    return "refused the line settings" + SystemError(trial.failure);
  case Outcome::NotAYardmark:
    return "answered, but not as a Yardmark";
  case Outcome::Failed:
    return WhyGreetingFailed(trial.failure);
  case Outcome::Answered: // never passed over: DescribePortsTried words it itself
  case Outcome::Silent:
    break;
  }
  if (trial.greetings == 0)
    return "not greeted, the Yardmark answered first on another port";
  return "silent, no answer to " + std::to_string(trial.greetings) +
         (trial.greetings == 1 ? " greeting" : " greetings");
}

} // namespace

std::vector<std::string> DescribePortsTried(const std::vector<PortTrial>& trials) {
  if (trials.empty())
    return {"No serial port to try"};
  std::vector<std::string> lines;
  std::optional<std::size_t> notPresentLine;
  for (const PortTrial& trial : trials) {
    if (IsNotPresent(trial)) {
      if (!notPresentLine) {
        notPresentLine = lines.size();
        lines.emplace_back("Not present:");
      }
      lines[*notPresentLine].append(" ").append(trial.path);
    } else if (trial.outcome == Outcome::Answered) {
      lines.push_back("Yardmark answered on " + trial.path);
    } else {
      lines.push_back(trial.path + " passed over: " + WhyPassedOver(trial));
    }
  }
  return lines;
}

} // namespace quillon
