#pragma once

#include "dialogs/dialog_template.h"
#include "pages/firmware_load_page.h"
#include "pages/intro_page.h"
#include "pages/plain_page.h"
#include "pages/reset_and_verify_page.h"
#include "pages/screen_check_page.h"
#include "pages/wizard_steps.h"

#include <array>
#include <cstddef>

namespace quillon {

// The eleven pages of one wizard run, built once and reused whenever a step is shown again
// (their members, such as previousPressed, last from showing to showing). The device pages
// read the values of Orbfix.dat from `inputs` when they run.
struct WizardPages {
  WizardPages(DeviceLink& link, PumpingClock& clock, const OrbfixValues& inputs)
      : firmwareLoad(link, clock, inputs), resetAndVerify(link, clock, inputs) {}
  WizardPages(const WizardPages&) = delete;
  WizardPages& operator=(const WizardPages&) = delete;

  // The page of a step, step::kFirst to step::kLast.
  WizardPage& ofStep(int step) {
    const std::array<WizardPage*, step::kCount> all{
        &intro,        &connectComputer, &connectDevice, &turnOn,       &verifyConnection,
        &firmwareLoad, &turnOff,         &turnOnAgain,   &verifyScreen, &resetAndVerify,
        &finish};
    return *all[static_cast<std::size_t>(step - step::kFirst)];
  }

  IntroPage intro;
  PlainPage connectComputer{step::kConnectComputer, tpl::kConnectComputer};
  PlainPage connectDevice{step::kConnectDevice, tpl::kConnectDevice};
  PlainPage turnOn{step::kTurnOn, tpl::kTurnOn};
  ScreenCheckPage verifyConnection{kConnectionCheck};
  FirmwareLoadPage firmwareLoad;
  PlainPage turnOff{step::kTurnOff, tpl::kTurnOff};
  PlainPage turnOnAgain{step::kTurnOnAgain, tpl::kTurnOnAgain};
  ScreenCheckPage verifyScreen{kRestartCheck};
  ResetAndVerifyPage resetAndVerify;
  PlainPage finish{step::kFinish, tpl::kFinish};
};

} // namespace quillon
