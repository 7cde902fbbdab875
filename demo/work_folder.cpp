#include "demo/work_folder.h"

#include "gpsload/firmware_image.h"
#include "pages/orbfix_file.h"

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

// The firmware file Orbfix.dat names, as the wizard will read it (a pipe or an endless file
// in Orbfix.dat's place is read no further than the wizard reads it), when the wizard will
// load it: a file it refuses is never loaded, so the device is not asked to expect it, and
// starts all the same so that the wizard can show its notice.
QString LoadableFirmware(const QString& folder) {
  const OrbfixContent content =
      readOrbfixContent(QDir(folder).filePath(WorkFolder::kOrbfix).toStdString());
  if (content.access != OrbfixAccess::Read)
    return {};
  const OrbfixValues values = orbfixValuesOf(content.bytes);
  if (findOrbfixDamage(content, values) || values.firmwarePath.empty())
    return {};
  const QString firmware = QDir(folder).filePath(QString::fromStdString(values.firmwarePath));
  if (!FirmwareImage(firmware.toStdString()).isSRecord())
    return {};
  return QFileInfo(firmware).absoluteFilePath();
}

// The sample firmware and an Orbfix.dat naming it, where the folder lacks them; no old dump.
bool PutMissingFiles(WorkFolder& folder, const QString& targetGpsVersion) {
  if (!QFileInfo::exists(folder.file(WorkFolder::kFirmware)) &&
      !QFile::copy(kSampleFirmware, folder.file(WorkFolder::kFirmware))) {
    folder.error = QStringLiteral("cannot write ") + folder.file(WorkFolder::kFirmware);
    return false;
  }
  // A copied resource is read-only; the golfer may want to replace it.
  QFile::setPermissions(folder.file(WorkFolder::kFirmware),
                        QFile::permissions(folder.file(WorkFolder::kFirmware)) | QFile::WriteOwner);
  if (!QFileInfo::exists(folder.file(WorkFolder::kOrbfix)) &&
      !WriteOrbfix(folder.file(WorkFolder::kOrbfix), targetGpsVersion)) {
    folder.error = QStringLiteral("cannot write ") + folder.file(WorkFolder::kOrbfix);
    return false;
  }
  // A dump left by an earlier run must not pass for this run's flash.
  if (QFileInfo::exists(folder.file(WorkFolder::kFlashDump)) &&
      !QFile::remove(folder.file(WorkFolder::kFlashDump))) {
    folder.error = QStringLiteral("cannot remove the old ") + folder.file(WorkFolder::kFlashDump);
    return false;
  }
  return true;
}

} // namespace

QString WorkFolder::file(const char* name) const {
  return QDir(path).filePath(name);
}

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

  // A folder the golfer may only read is used as it is: the wizard then shows the notice for
  // whatever is missing, and the device's line and its flash dump go elsewhere.
  folder.writable = QFileInfo(folder.path).isWritable();
  if (folder.writable && !PutMissingFiles(folder, targetGpsVersion))
    return folder;
  folder.firmwarePath = LoadableFirmware(folder.path);
  return folder;
}

} // namespace quillon::demo
