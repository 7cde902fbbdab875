#include "demo/answer_script.h"

#include <array>
#include <charconv>
#include <utility>

namespace quillon::demo {
namespace {

constexpr int kFirstStep = 1;
constexpr int kLastStep = 11;

constexpr std::array<std::pair<std::string_view, PageInput>, 6> kWords{{
    {"yes", PageInput::Forward},
    {"next", PageInput::Forward},
    {"finish", PageInput::Forward},
    {"no", PageInput::Cancel},
    {"cancel", PageInput::Cancel},
    {"previous", PageInput::Previous},
}};

std::optional<PageInput> InputOf(std::string_view word) {
  for (const auto& [name, input] : kWords)
    if (name == word)
      return input;
  return std::nullopt;
}

// Calls `each` with every piece of `text` between separators; empty pieces included.
template <typename Each>
bool ForEachPiece(std::string_view text, char separator, Each each) {
  for (;;) {
    const auto end = text.find(separator);
    if (!each(text.substr(0, end)))
      return false;
    if (end == std::string_view::npos)
      return true;
    text.remove_prefix(end + 1);
  }
}

std::optional<int> StepOf(std::string_view name) {
  constexpr std::string_view kPrefix = "step";
  if (!name.starts_with(kPrefix))
    return std::nullopt;
  name.remove_prefix(kPrefix.size());
  int step = 0;
  const auto [ptr, ec] = std::from_chars(name.data(), name.data() + name.size(), step);
  if (ec != std::errc() || ptr != name.data() + name.size() || step < kFirstStep ||
      step > kLastStep)
    return std::nullopt;
  return step;
}

} // namespace

std::optional<AnswerScript> AnswerScript::Parse(std::string_view text) {
  AnswerScript script;
  const bool ok = ForEachPiece(text, ';', [&script](std::string_view entry) {
    if (entry.empty())
      return true; // "step1=no;" reads as one entry
    const auto equals = entry.find('=');
    if (equals == std::string_view::npos)
      return false;
    const auto step = StepOf(entry.substr(0, equals));
    if (!step)
      return false;
    auto& queue = script.answers_[*step];
    return ForEachPiece(entry.substr(equals + 1), ',', [&queue](std::string_view word) {
      const auto input = InputOf(word);
      if (input)
        queue.push_back(*input);
      return input.has_value();
    });
  });
  if (!ok)
    return std::nullopt;
  return script;
}

PageInput AnswerScript::next(int step) {
  const auto found = answers_.find(step);
  if (found == answers_.end() || found->second.empty())
    return PageInput::Forward;
  const PageInput input = found->second.front();
  found->second.pop_front();
  return input;
}

} // namespace quillon::demo
