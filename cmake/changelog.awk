# Reads CHANGELOG.md and writes what is made from it, chosen with -v mode=...:
#   version    the newest release's version
#   epoch      the newest release's date, in seconds since 1970 (for dates in generated files)
#   debian     the Debian changelog (-v package=... -v maintainer="Name <mail>")
#   appstream  the <release> elements of the AppStream metadata
# A file that breaks the layout CHANGELOG.md describes is refused with the line at fault, so
# a release is never half-listed in one place and whole in the other.

function fail(message) {
  printf "CHANGELOG.md:%d: %s\n", NR, message > "/dev/stderr"
  failed = 1
  exit 1
}

# Day of the week, 0 for Sunday, of a date in the Gregorian calendar.
function weekday(y, m, d,   offsets) {
  split("0 3 2 5 0 3 5 1 4 6 2 4", offsets, " ")
  if (m < 3)
    y -= 1
  return (y + int(y / 4) - int(y / 100) + int(y / 400) + offsets[m] + d) % 7
}

# Days from 1970-01-01 to a date in the Gregorian calendar.
function days_since_epoch(y, m, d,   era, yoe, doy, doe) {
  if (m <= 2)
    y -= 1
  era = int(y / 400)
  yoe = y - era * 400
  doy = int((153 * (m > 2 ? m - 3 : m + 9) + 2) / 5) + d - 1
  doe = yoe * 365 + int(yoe / 4) - int(yoe / 100) + doy
  return era * 146097 + doe - 719468
}

function version_less(a, b,   pa, pb, i) {
  split(a, pa, ".")
  split(b, pb, ".")
  for (i = 1; i <= 3; i++)
    if (pa[i] + 0 != pb[i] + 0)
      return pa[i] + 0 < pb[i] + 0
  return 0
}

function xml(text) {
  gsub(/&/, "\\&amp;", text)
  gsub(/</, "\\&lt;", text)
  gsub(/>/, "\\&gt;", text)
  return text
}

BEGIN {
  releases = 0
  if (mode !~ /^(version|epoch|debian|appstream)$/) {
    print "changelog.awk: mode must be version, epoch, debian or appstream" > "/dev/stderr"
    failed = 1
    exit 1
  }
}

{ sub(/\r$/, "") }

releases > 0 && length($0) > 78 { fail("longer than 78 characters") }

/^## / {
  if ($0 !~ /^## [0-9]+\.[0-9]+\.[0-9]+ - [0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]$/)
    fail("a release heading reads \"## <major>.<minor>.<patch> - <year>-<month>-<day>\"")
  if (releases > 0 && items[releases] == 0)
    fail("release " version[releases] " lists no change")
  releases++
  version[releases] = $2
  date[releases] = $4
  items[releases] = 0
  if (releases > 1 && !version_less(version[releases], version[releases - 1]))
    fail("release " $2 " is not older than the one above it")
  if (releases > 1 && date[releases] > date[releases - 1])
    fail("release " $2 " is dated after the one above it")
  next
}

releases == 0 { next } # the introduction above the first release

/^- / {
  n = ++items[releases]
  item[releases, n] = substr($0, 3)
  next
}

/^  [^ ]/ {
  if (items[releases] == 0)
    fail("a continuation line without an item above it")
  n = items[releases]
  item[releases, n] = item[releases, n] "\n" substr($0, 3)
  next
}

/^$/ { next }

{ fail("neither a release heading, an item, its continuation nor an empty line") }

END {
  if (failed)
    exit 1
  if (releases == 0) {
    print "CHANGELOG.md: no release" > "/dev/stderr"
    exit 1
  }
  if (items[releases] == 0) {
    print "CHANGELOG.md: release " version[releases] " lists no change" > "/dev/stderr"
    exit 1
  }
  split(date[1], ymd, "-")
  if (mode == "version") {
    print version[1]
  } else if (mode == "epoch") {
    print days_since_epoch(ymd[1] + 0, ymd[2] + 0, ymd[3] + 0) * 86400
  } else if (mode == "debian") {
    split("Sun Mon Tue Wed Thu Fri Sat", day_names, " ")
    split("Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec", month_names, " ")
    for (r = 1; r <= releases; r++) {
      split(date[r], ymd, "-")
      # Debian wants each entry dated after the one below it: a release made on the same day
      # as older ones comes a minute after each of them.
      same_day = 0
      for (s = r + 1; s <= releases; s++)
        if (date[s] == date[r])
          same_day++
      printf "%s (%s) unstable; urgency=medium\n\n", package, version[r]
      for (i = 1; i <= items[r]; i++) {
        text = item[r, i]
        gsub(/\n/, "\n    ", text)
        printf "  * %s\n", text
      }
      printf "\n -- %s  %s, %s %s %s %02d:%02d:00 +0000\n", maintainer,
             day_names[weekday(ymd[1] + 0, ymd[2] + 0, ymd[3] + 0) + 1], ymd[3],
             month_names[ymd[2] + 0], ymd[1], 12 + int(same_day / 60), same_day % 60
      if (r < releases)
        printf "\n"
    }
  } else {
    for (r = 1; r <= releases; r++) {
      printf "    <release version=\"%s\" date=\"%s\">\n", version[r], date[r]
      printf "      <description>\n        <ul>\n"
      for (i = 1; i <= items[r]; i++) {
        text = item[r, i]
        gsub(/\n/, " ", text)
        printf "          <li>%s</li>\n", xml(text)
      }
      printf "        </ul>\n      </description>\n    </release>\n"
    }
  }
}
