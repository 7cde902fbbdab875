#pragma once

#include "pages/Step1Intro.h"
#include "pages/Step3Update.h"
#include "pages/Step5Verify.h"
#include "pages/Step5VerifyConnection.h"
#include "pages/Step9VerifyKV7.h"
#include "pages/plain_page.h"

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

  Step1Intro intro;
  PlainPage connectComputer{kStep2ConnectComputerTexts};
  PlainPage connectDevice{kStep3ConnectDeviceTexts};
  PlainPage turnOn{kStep4TurnOnTexts};
  Step5VerifyConnection verifyConnection;
  Step3Update firmwareLoad;
  PlainPage turnOff{kStep7TurnOffTexts};
  PlainPage turnOnAgain{kStep8TurnOnAgainTexts};
  Step9VerifyKV7 verifyScreen;
  Step5Verify resetAndVerify;
  PlainPage finish{kStep11FinishTexts};
};

} // namespace quillon
