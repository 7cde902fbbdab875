#include "app/logind_power_hold.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <fcntl.h>
#include <unistd.h>

namespace quillon {
namespace {

constexpr auto kService = "org.freedesktop.login1";
constexpr auto kPath = "/org/freedesktop/login1";
constexpr auto kInterface = "org.freedesktop.login1.Manager";

} // namespace

bool LogindPowerHold::take(std::string& why) {
  release();
  const QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.isConnected()) {
    why = "no system bus (" + bus.lastError().message().toStdString() + ")";
    return false;
  }
  if (!(bus.connectionCapabilities() & QDBusConnection::UnixFileDescriptorPassing)) {
    why = "the system bus cannot pass the lock";
    return false;
  }
  QDBusMessage inhibit = QDBusMessage::createMethodCall(kService, kPath, kInterface, "Inhibit");
  inhibit << QStringLiteral("sleep:shutdown") << QString::fromUtf8(kWho)
          << QString::fromUtf8(PowerHold::kReason) << QStringLiteral("block");
  const QDBusMessage reply = QDBusConnection(bus).call(inhibit, QDBus::Block, kAnswerMs);
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) {
    why = "logind gave no lock (" + reply.errorMessage().toStdString() + ")";
    return false;
  }
  const auto lock = qvariant_cast<QDBusUnixFileDescriptor>(reply.arguments().front());
  // The reply's copy closes with it; ours is held until release().
  lock_ = lock.isValid() ? ::fcntl(lock.fileDescriptor(), F_DUPFD_CLOEXEC, 0) : -1;
  if (lock_ < 0) {
    why = "logind's answer held no lock";
    return false;
  }
  return true;
}

void LogindPowerHold::release() {
  if (lock_ >= 0)
    ::close(lock_);
  lock_ = -1;
}

} // namespace quillon
