// The page templates as data: every window of the program is there, its controls stay inside
// its frame, and the wizard pages keep the frame the user knows (title on top, one row of
// buttons at the bottom).
#include <set>

#include <QTest>

#include "dialogs/dialog_template.h"
#include "ui/artwork.h"

namespace quillon {
namespace {

constexpr int kPlainPages[] = {tpl::kIntro,         tpl::kConnectComputer, tpl::kConnectDevice,
                               tpl::kTurnOn,        tpl::kVerifyConnection, tpl::kTurnOff,
                               tpl::kTurnOnAgain,   tpl::kVerifyScreen,    tpl::kFinish};

const DialogTemplate& templateOf(int id) {
  const DialogTemplate* found = FindDialogTemplate(id);
  if (!found)
    qFatal("template %d missing", id);
  return *found;
}

bool overlaps(const DluRect& a, const DluRect& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
         b.y < a.y + a.height;
}

} // namespace

class TemplatesTest : public QObject {
  Q_OBJECT

private slots:
  void everyWindowOfTheProgramHasItsTemplate() {
    std::set<int> ids;
    for (const DialogTemplate* t : AllDialogTemplates())
      QVERIFY2(ids.insert(t->id).second, "a template number is used twice");
    const std::set<int> expected{100, 102, 142, 144, 145, 149, 150, 151, 152, 154, 155, 156, 177};
    QVERIFY(ids == expected);
    QVERIFY(FindDialogTemplate(143) == nullptr);
  }

  void controlsStayInsideTheirWindow() {
    for (const DialogTemplate* t : AllDialogTemplates()) {
      for (const ControlTemplate& c : t->controls) {
        const bool inside = c.rect.x >= 0 && c.rect.y >= 0 && c.rect.width > 0 &&
                            c.rect.height > 0 && c.rect.x + c.rect.width <= t->width &&
                            c.rect.y + c.rect.height <= t->height;
        QVERIFY2(inside, qPrintable(QStringLiteral("template %1, control '%2'")
                                        .arg(t->id)
                                        .arg(QString::fromUtf8(c.text.data(),
                                                               static_cast<int>(c.text.size())))));
      }
    }
  }

  void wizardPagesAreToolWindowsOfTheStatedSize() {
    for (const DialogTemplate* t : AllDialogTemplates()) {
      if (t->id == tpl::kMainDialog || t->id == tpl::kAbout) {
        QVERIFY(t->frame != FrameKind::WizardPage);
        continue;
      }
      QCOMPARE(t->frame, FrameKind::WizardPage);
      QCOMPARE(t->width, t->id == tpl::kFinish ? 189 : 190);
      QCOMPARE(t->height, 241);
    }
  }

  void plainPagesHaveTheirTitleOnTopAndButtonsInOneRow() {
    for (int id : kPlainPages) {
      const DialogTemplate& t = templateOf(id);
      const ControlTemplate& title = t.controls.front();
      QCOMPARE(title.colour, ColourRole::Header);
      QCOMPARE(title.rect.x, 7);
      QCOMPARE(title.rect.y, 7);
      QCOMPARE(title.rect.width, 176);
      QCOMPARE(title.rect.height, 11);
      QVERIFY(title.style & StyleSunken);
      int buttons = 0;
      for (const ControlTemplate& c : t.controls) {
        if (c.kind != ControlKind::PushButton)
          continue;
        ++buttons;
        QCOMPARE(c.rect.y, 220);
        QCOMPARE(c.rect.width, 50);
        QCOMPARE(c.rect.height, 14);
      }
      QVERIFY(buttons == 2 || buttons == 3);
    }
  }

  void plainPageButtonsSitWhereTheUserExpectsThem() {
    struct Row {
      int page;
      int previousX; // 0: no Previous button
      int forwardX;
      int cancelX;
    };
    const Row rows[] = {{tpl::kIntro, 0, 36, 106},         {tpl::kConnectComputer, 7, 71, 133},
                        {tpl::kConnectDevice, 7, 71, 133}, {tpl::kTurnOn, 7, 71, 133},
                        {tpl::kVerifyConnection, 0, 79, 133}, {tpl::kTurnOff, 0, 79, 133},
                        {tpl::kTurnOnAgain, 7, 71, 133},   {tpl::kVerifyScreen, 0, 79, 133},
                        {tpl::kFinish, 0, 79, 133}};
    for (const Row& row : rows) {
      const DialogTemplate& t = templateOf(row.page);
      QCOMPARE(t.findControl(ids::kOk)->rect.x, row.forwardX);
      QCOMPARE(t.findControl(ids::kCancel)->rect.x, row.cancelX);
      const ControlTemplate* previous = t.findControl(ids::kPrevious);
      QCOMPARE(previous ? previous->rect.x : 0, row.previousX);
    }
  }

  // Overlapping visible controls would hide each other's text; only group boxes surround
  // other controls. (The hidden main dialog keeps its old layout, never seen.)
  void visibleControlsOfAPageDoNotOverlap() {
    for (const DialogTemplate* t : AllDialogTemplates()) {
      if (t->frame != FrameKind::WizardPage)
        continue;
      for (std::size_t i = 0; i < t->controls.size(); ++i) {
        const ControlTemplate& a = t->controls[i];
        if (a.kind == ControlKind::GroupBox || (a.style & StyleHidden))
          continue;
        for (std::size_t j = i + 1; j < t->controls.size(); ++j) {
          const ControlTemplate& b = t->controls[j];
          if (b.kind == ControlKind::GroupBox || (b.style & StyleHidden))
            continue;
          QVERIFY2(!overlaps(a.rect, b.rect),
                   qPrintable(QStringLiteral("template %1: controls %2 and %3 overlap")
                                  .arg(t->id)
                                  .arg(i)
                                  .arg(j)));
        }
      }
    }
  }

  void picturesNameArtworkThatExists() {
    int pictures = 0;
    for (const DialogTemplate* t : AllDialogTemplates())
      for (const ControlTemplate& c : t->controls)
        if (c.kind == ControlKind::Picture || c.kind == ControlKind::Icon) {
          ++pictures;
          QVERIFY2(!ArtworkSize(c.image).isEmpty(), qPrintable(QString::number(c.image)));
        }
    QCOMPARE(pictures, 10); // one per plain page, and the About box's icon
  }

};

} // namespace quillon

QTEST_APPLESS_MAIN(quillon::TemplatesTest)
#include "gui_templates_test.moc"
