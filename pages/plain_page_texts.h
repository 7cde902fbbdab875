#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace quillon {

// How an instruction text is drawn.
enum class InstructionStyle {
  Plain,
  Warning, // red text (control 1040 of step 1)
  Centred,
  Overlaid, // shares the place of the first text (step 9's second wording)
};

struct Instruction {
  std::string_view text;
  InstructionStyle style = InstructionStyle::Plain;
};

// Everything the window of an instruction page shows, as data: the Qt layer builds the
// window from it and the tests read the texts the user is meant to see.
struct PlainPageTexts {
  int step;       // displayed step number
  int templateId; // dialog template of the page
  std::string_view caption;
  int headerControl;
  std::string_view header;
  std::span<const Instruction> instructions; // top to bottom
  int pictureId;
  // The picture sits just above the instruction of this index (0: under the header; the
  // number of instructions: under the last one).
  std::size_t pictureBefore;
  std::string_view forwardLabel;
  std::string_view cancelLabel;
  bool hasPrevious;
  bool forwardIsDefault;
  bool cancelEnabled;
};

inline constexpr std::string_view kPreviousLabel = "<- Previous";
inline constexpr int kPreviousButtonId = 1045;

extern const PlainPageTexts kStep1IntroTexts;
extern const PlainPageTexts kStep2ConnectComputerTexts;
extern const PlainPageTexts kStep3ConnectDeviceTexts;
extern const PlainPageTexts kStep4TurnOnTexts;
extern const PlainPageTexts kStep5VerifyConnectionTexts;
extern const PlainPageTexts kStep7TurnOffTexts;
extern const PlainPageTexts kStep8TurnOnAgainTexts;
extern const PlainPageTexts kStep9VerifyKV7Texts;
extern const PlainPageTexts kStep11FinishTexts;

} // namespace quillon
