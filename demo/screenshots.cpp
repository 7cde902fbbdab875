#include "demo/screenshots.h"

#include <cctype>

#include <QDir>
#include <QPixmap>
#include <QString>
#include <QWidget>

namespace quillon::demo {

bool Screenshots::take(QWidget& window, std::string_view name) {
  if (!enabled())
    return true;
  ++taken_;
  const QString file = QStringLiteral("%1-%2.png")
                           .arg(taken_, 2, 10, QLatin1Char('0'))
                           .arg(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  return window.grab().save(QDir(QString::fromStdString(directory_)).filePath(file), "PNG");
}

std::string Screenshots::NoticeName(std::string_view caption) {
  std::string name = "notice";
  constexpr std::string_view kNotice = "NOTICE";
  if (caption.starts_with(kNotice))
    caption.remove_prefix(kNotice.size());
  std::string number;
  for (const char c : caption)
    if (std::isalnum(static_cast<unsigned char>(c)) || c == '-')
      number += c;
  if (!number.empty())
    name += "-" + number;
  return name;
}

} // namespace quillon::demo
