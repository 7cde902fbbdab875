#include "tests/docs/markdown_notices.h"
#include "tests/docs/shown_notices.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace quillon::testing {
namespace {

std::filesystem::path SourceRoot() {
  const char* root = std::getenv("QUILLON_SOURCE_DIR");
  return root ? root : ".";
}

// docs/notices.md against the notices the program shows: every one documented with the same
// caption and text, and nothing documented that the program cannot show.
class NoticesDocument : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    documented = ReadDocumentedNotices(SourceRoot() / "docs/notices.md");
    shown = NoticesTheProgramShows(QUILLON_RELEASE_ORBFIX);
  }
  static void TearDownTestSuite() {
    documented.clear();
    shown.clear();
  }

  static bool IsDocumented(const ShownNotice& notice) {
    return std::any_of(documented.begin(), documented.end(), [&](const DocumentedNotice& d) {
      return d.caption == notice.caption && d.text == notice.text;
    });
  }

  static inline std::vector<DocumentedNotice> documented;
  static inline std::set<ShownNotice> shown;
};

TEST_F(NoticesDocument, DocumentsEveryNoticeTheProgramShows) {
  ASSERT_FALSE(documented.empty()) << "no \"### NOTICE\" sections in docs/notices.md";
  for (const auto& notice : shown)
    EXPECT_TRUE(IsDocumented(notice))
        << "docs/notices.md has no section \"### " << notice.caption << "\" quoting:\n> "
        << notice.text;
}

TEST_F(NoticesDocument, ListsNoNoticeTheProgramDoesNotShow) {
  for (const auto& notice : documented)
    EXPECT_EQ(shown.count({notice.caption, notice.text}), 1U)
        << "docs/notices.md line " << notice.headingLine << ": the program never shows \""
        << notice.caption << "\" with the text:\n> " << notice.text;
}

TEST_F(NoticesDocument, EachNoticeOnceWithWhenWhatAndWhatToDo) {
  std::set<ShownNotice> seen;
  for (const auto& notice : documented) {
    SCOPED_TRACE("docs/notices.md line " + std::to_string(notice.headingLine) + ": " +
                 notice.caption);
    EXPECT_EQ(notice.quotedLines, 1) << "the text is quoted on exactly one \"> \" line";
    EXPECT_TRUE(notice.saysWhen);
    EXPECT_TRUE(notice.saysMeaning);
    EXPECT_TRUE(notice.saysWhatToDo);
    EXPECT_TRUE(seen.insert({notice.caption, notice.text}).second) << "listed twice";
  }
}

// The walks must reach every notice the sources hold, or the two tests above would pass on a
// notice nobody looked at.
TEST_F(NoticesDocument, TheProgramsNoticesAreAllInTheSources) {
  std::set<std::string> captionsShown;
  for (const auto& notice : shown)
    captionsShown.insert(notice.caption);
  const auto inSources = NoticeCaptionsInSources(SourceRoot());
  ASSERT_FALSE(inSources.empty());
  EXPECT_EQ(captionsShown, inSources);
}

TEST_F(NoticesDocument, ScreenChecksAndTheFirmwareFileAreReached) {
  // Two different E:20 texts (steps 5 and 9), four plain notices, and the firmware file named
  // as the release's Orbfix.dat names it.
  EXPECT_EQ(std::count_if(shown.begin(), shown.end(),
                          [](const ShownNotice& n) { return n.caption == "NOTICE E:20"; }),
            2);
  EXPECT_EQ(std::count_if(shown.begin(), shown.end(),
                          [](const ShownNotice& n) { return n.caption == "NOTICE"; }),
            4);
  EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [](const ShownNotice& n) {
    return n.caption == "NOTICE E:3" && n.text.find("\"gps_firmware.mot\"") != std::string::npos;
  }));
}

} // namespace
} // namespace quillon::testing
