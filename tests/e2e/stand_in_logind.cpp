// stand-in-logind: logind's Inhibit call on the bus DBUS_SYSTEM_BUS_ADDRESS names, for tests on
// a machine without systemd. Each lock is a pipe: the caller gets the write end, and when it
// closes it (released, or the caller ended) the read end sees the end of the file. Prints
// "ready", then "inhibit WHAT|WHO|WHY|MODE" for each lock and "released" when one is let go.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusUnixFileDescriptor>
#include <QSocketNotifier>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

void Say(const QString& line) {
  std::printf("%s\n", qPrintable(line));
  std::fflush(stdout);
}

class Manager final : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public slots:
  QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString& why,
                                  const QString& mode) {
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC) != 0)
      return {};
    Say(QStringLiteral("inhibit %1|%2|%3|%4").arg(what, who, why, mode));
    auto* held = new QSocketNotifier(ends[0], QSocketNotifier::Read, this);
    connect(held, &QSocketNotifier::activated, this, [held, readEnd = ends[0]] {
      char byte = 0;
      if (::read(readEnd, &byte, 1) > 0)
        return;
      Say(QStringLiteral("released"));
      held->setEnabled(false);
      ::close(readEnd);
    });
    QDBusUnixFileDescriptor lock(ends[1]); // a copy travels in the reply
    ::close(ends[1]);
    return lock;
  }
};

} // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  QDBusConnection bus = QDBusConnection::systemBus();
  Manager manager;
  if (!bus.registerObject(QStringLiteral("/org/freedesktop/login1"), &manager,
                          QDBusConnection::ExportAllSlots) ||
      !bus.registerService(QStringLiteral("org.freedesktop.login1"))) {
    std::fprintf(stderr, "stand-in-logind: %s\n", qPrintable(bus.lastError().message()));
    return 1;
  }
  Say(QStringLiteral("ready"));
  return application.exec();
}

#include "stand_in_logind.moc"
