#pragma once

#include "pages/plain_page.h"

#include <cstdint>
#include <string_view>

namespace quillon {

// A page where the user compares the Yardmark's screen with a picture (steps 5 and 9). YES
// goes on; the first two NO answers of a showing give a reminder and keep the page open; the
// third ends the wizard with notice E:20. Escape counts as NO.
class ScreenCheckPage : public PlainPage {
public:
  static constexpr int kReminders = 2;

  void onShow() override { mismatchCount = 0; }

  // NO answers on the current showing.
  std::int32_t mismatchCount = 0;

protected:
  ScreenCheckPage(const PlainPageTexts& texts, std::string_view reminder,
                  std::string_view finalNotice)
      : PlainPage(texts), reminder_(reminder), finalNotice_(finalNotice) {}

  // The log lines name the page's own module, so each page writes them itself.
  virtual void logMatch() = 0;
  virtual void logMismatch() = 0;
  virtual void logFinalMismatch() = 0;

private:
  void onForward(PageWindow& window) override;
  void onCancel(PageWindow& window) override;

  std::string_view reminder_;
  std::string_view finalNotice_;
};

} // namespace quillon
