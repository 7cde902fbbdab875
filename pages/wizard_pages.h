#pragma once

#include "dialogs/dialog_template.h"
#include "pages/firmware_load_page.h"
#include "pages/intro_page.h"
#include "pages/plain_page.h"
#include "pages/reset_and_verify_page.h"
#include "pages/screen_check_page.h"

#include <array>

namespace quillon {

// The eleven pages of one wizard run, built once in step order and reused whenever a step is
// shown again (their members, such as previousPressed, last from showing to showing).
struct WizardPages {
  static constexpr int kCount = 11;

  WizardPages(DeviceLink& link, PumpingClock& clock)
      : firmwareLoad(link, clock), resetAndVerify(link, clock) {}
  WizardPages(const WizardPages&) = delete;
  WizardPages& operator=(const WizardPages&) = delete;

  // The page shown in each state 0..10.
  std::array<WizardPage*, kCount> byState() {
    return {&intro,        &connectComputer, &connectDevice, &turnOn,       &verifyConnection,
            &firmwareLoad, &turnOff,         &turnOnAgain,   &verifyScreen, &resetAndVerify,
            &finish};
  }

  IntroPage intro;
  PlainPage connectComputer{2, tpl::kConnectComputer};
  PlainPage connectDevice{3, tpl::kConnectDevice};
  PlainPage turnOn{4, tpl::kTurnOn};
  ScreenCheckPage verifyConnection{kConnectionCheck};
  FirmwareLoadPage firmwareLoad;
  PlainPage turnOff{7, tpl::kTurnOff};
  PlainPage turnOnAgain{8, tpl::kTurnOnAgain};
  ScreenCheckPage verifyScreen{kRestartCheck};
  ResetAndVerifyPage resetAndVerify;
  PlainPage finish{11, tpl::kFinish};
};

} // namespace quillon
