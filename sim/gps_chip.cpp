#include "sim/gps_chip.h"

#include "sim/wire_constants.h"

#include <algorithm>

namespace quillon::sim {

namespace {

// One position sentence with no fix, its checksum computed as NMEA wants it.
std::vector<std::uint8_t> NoFixSentence() {
  const std::string body = "GPGGA,,,,,,0,00,,,M,,M,,";
  std::uint8_t sum = 0;
  for (const char c : body)
    sum = static_cast<std::uint8_t>(sum ^ static_cast<std::uint8_t>(c));
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const std::string sentence = "$" + body + "*" + kDigits[sum >> 4] + kDigits[sum & 0x0F] + "\r\n";
  return {sentence.begin(), sentence.end()};
}

} // namespace

GpsChip::GpsChip(std::string oldVersion, std::string newVersion, const FlashModel& flash,
                 const FlashModel* firmware, const BootLoader& loader, FaultSet& faults,
                 DevicePort& port)
    : oldVersion_(std::move(oldVersion)), newVersion_(std::move(newVersion)), flash_(flash),
      firmware_(firmware), loader_(loader), faults_(faults), port_(port) {}

void GpsChip::powerOn() {
  // An application that hangs, whole flash or not, until the power goes: only the first
  // power-on plays it, so the golfer's power cycle on step 7 cures it.
  unreadableUntilPowerCycle_ =
      !poweredOnBefore_ && faults_.asked("gps-unreadable-until-power-cycle");
  poweredOnBefore_ = true;
  boot();
}

void GpsChip::boot() {
  if (!loader_.flashWhole())
    version_.clear();
  else if (firmware_ != nullptr && flash_ == *firmware_)
    version_ = newVersion_;
  else
    version_ = oldVersion_;
  readable_ = !faults_.asked("gps-unreadable-until-reset");
  nmeaOff_ = false;
  recent_.clear();
  stopChatter();
  stopNmea();
}

void GpsChip::reset() {
  boot();
  readable_ = true;
  if (faults_.asked("reset-chatter") && runsApplication())
    chatter(gps_wire::kChatterSentences);
}

void GpsChip::chatter(int remaining) {
  if (remaining <= 0) {
    chatterTimer_ = 0;
    return;
  }
  chatterTimer_ = port_.after(gps_wire::kChatterPeriod, [this, remaining] {
    faults_.strikes("reset-chatter"); // the chatter is the fault: it strikes when it is heard
    port_.send(NoFixSentence());
    chatter(remaining - 1);
  });
}

void GpsChip::stopChatter() {
  port_.cancel(chatterTimer_);
  chatterTimer_ = 0;
}

void GpsChip::startPassthrough() {
  stopChatter();
  if (!nmeaOff_ && runsApplication())
    streamNmea();
}

void GpsChip::streamNmea() {
  nmeaTimer_ = port_.after(gps_wire::kNmeaPeriod, [this] {
    // At another rate the sentence would reach the host as garbage; it is left out instead.
    if (port_.lineBaud() == gps_wire::kCommandBaud)
      port_.send(NoFixSentence());
    streamNmea();
  });
}

void GpsChip::stopNmea() {
  port_.cancel(nmeaTimer_);
  nmeaTimer_ = 0;
}

std::vector<std::uint8_t> GpsChip::versionReply() const {
  if (!readable_) {
    faults_.strikes("gps-unreadable-until-reset");
    return {};
  }
  if (unreadableUntilPowerCycle_) {
    faults_.strikes("gps-unreadable-until-power-cycle");
    return {};
  }
  if (!runsApplication())
    return {};
  std::vector<std::uint8_t> reply(device_wire::kGpsVersionSize, 0);
  std::copy_n(version_.begin(), std::min(version_.size(), reply.size()), reply.begin());
  if (faults_.strikes("gps-not-P"))
    reply[1] = 'G';
  return reply;
}

bool GpsChip::endsWith(const std::uint8_t* pattern, std::size_t size) const {
  return recent_.size() >= size &&
         std::equal(pattern, pattern + size, recent_.end() - static_cast<std::ptrdiff_t>(size));
}

bool GpsChip::receive(std::uint8_t byte, int baud) {
  if (baud != gps_wire::kCommandBaud) {
    recent_.clear(); // a byte at the wrong rate spoils whatever command it fell into
    return false;
  }
  recent_.push_back(byte);
  if (recent_.size() > gps_wire::kAllOff.size())
    recent_.erase(recent_.begin());
  if (endsWith(gps_wire::kAllOff.data(), gps_wire::kAllOff.size())) {
    recent_.clear();
    if (faults_.takeOnce("unplug", "allof")) {
      port_.hangUp();
      return false;
    }
    nmeaOff_ = true;
    stopNmea();
    return false;
  }
  if (endsWith(gps_wire::kUpdateFirmware.data(), gps_wire::kUpdateFirmware.size())) {
    recent_.clear();
    if (faults_.takeOnce("unplug", "update")) {
      port_.hangUp();
      return false;
    }
    stopNmea(); // the boot loader takes over the line
    return true;
  }
  return false;
}

} // namespace quillon::sim
