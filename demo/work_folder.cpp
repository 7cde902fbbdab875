#include "demo/work_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

namespace quillon::demo {
namespace {

constexpr auto kSampleFirmware = ":/demo/gps_firmware.mot";
constexpr auto kReleaseTag = "Release 4";
constexpr auto kMinAppVersion = "1.0";
constexpr auto kMinBattery = "30";
constexpr int kFirmwareLine = 3;

bool WriteOrbfix(const QString& path, const QString& targetGpsVersion) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
    return false;
  QTextStream out(&file);
  out << kReleaseTag << "\n"
      << kMinAppVersion << "\n"
      << WorkFolder::kFirmware << "\n"
      << targetGpsVersion << "\n"
      << kMinBattery << "\n";
  return out.status() == QTextStream::Ok;
}

// Line 3 of Orbfix.dat, the firmware file, as the wizard will read it.
QString FirmwareLine(const QString& orbfixPath) {
  QFile file(orbfixPath);
  if (!file.open(QIODevice::ReadOnly))
    return {};
  QByteArray line;
  for (int n = 0; n < kFirmwareLine && !file.atEnd(); ++n)
    line = file.readLine();
  while (line.endsWith('\n') || line.endsWith('\r'))
    line.chop(1);
  return QString::fromLocal8Bit(line);
}

} // namespace

QString WorkFolder::file(const char* name) const { return QDir(path).filePath(name); }

WorkFolder WorkFolder::Prepare(const QString& directory, const QString& targetGpsVersion) {
  WorkFolder folder;
  if (directory.isEmpty()) {
    QTemporaryDir temporary(QDir::temp().filePath(QStringLiteral("quillon-demo-XXXXXX")));
    if (!temporary.isValid()) {
      folder.error = QStringLiteral("no temporary folder: ") + temporary.errorString();
      return folder;
    }
    temporary.setAutoRemove(false);
    folder.path = temporary.path();
  } else {
    if (!QDir().mkpath(directory)) {
      folder.error = QStringLiteral("cannot create ") + directory;
      return folder;
    }
    folder.path = QFileInfo(directory).absoluteFilePath();
  }

  if (!QFileInfo::exists(folder.file(kFirmware)) &&
      !QFile::copy(kSampleFirmware, folder.file(kFirmware))) {
    folder.error = QStringLiteral("cannot write ") + folder.file(kFirmware);
    return folder;
  }
  // A copied resource is read-only; the golfer may want to replace it.
  QFile::setPermissions(folder.file(kFirmware),
                        QFile::permissions(folder.file(kFirmware)) | QFile::WriteOwner);
  if (!QFileInfo::exists(folder.file(kOrbfix)) &&
      !WriteOrbfix(folder.file(kOrbfix), targetGpsVersion)) {
    folder.error = QStringLiteral("cannot write ") + folder.file(kOrbfix);
    return folder;
  }
  // A dump left by an earlier run must not pass for this run's flash.
  if (QFileInfo::exists(folder.file(kFlashDump)) && !QFile::remove(folder.file(kFlashDump))) {
    folder.error = QStringLiteral("cannot remove the old ") + folder.file(kFlashDump);
    return folder;
  }

  const QString firmware = FirmwareLine(folder.file(kOrbfix));
  if (!firmware.isEmpty() && QFileInfo::exists(QDir(folder.path).filePath(firmware)))
    folder.firmwarePath = QFileInfo(QDir(folder.path).filePath(firmware)).absoluteFilePath();
  return folder;
}

} // namespace quillon::demo
