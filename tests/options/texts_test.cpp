// Every text the windows show comes from String.dat, and the layouts grow with them:
// a String.dat whose texts are all marked leaves nothing unmarked on screen, and one
// whose texts are half again as long leaves nothing cut. Also the General page's
// greyed placement items on a desktop that keeps placement to itself.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTextStream>

#include "digit_edit.h"
#include "general_page.h"
#include "look_page.h"
#include "options_fixture.h"

namespace radixpad::test {
namespace {

// Rewrites every value of the text file with `change`; comments and names stay.
bool RewriteTexts(const QString& file, const std::function<QString(const QString&)>& change) {
  QFile in(file);
  if (!in.open(QIODevice::ReadOnly)) return false;
  QStringList lines = QString::fromUtf8(in.readAll()).split(u'\n');
  in.close();
  for (QString& line : lines) {
    if (line.startsWith(u';') || line.startsWith(u'[')) continue;
    const qsizetype equals = line.indexOf(u'=');
    if (equals <= 0) continue;
    line = line.left(equals + 1) + change(line.mid(equals + 1));
  }
  QFile out(file);
  return out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(lines.join(u'\n').toUtf8()) > 0;
}

std::string Listed(const QStringList& texts) { return texts.join(QStringLiteral(" | ")).toStdString(); }

QString Marked(const QString& text) { return QStringLiteral("[[") + text + QStringLiteral("]]"); }
// Half again as long, in wide letters, so nothing fits by chance.
QString Longer(const QString& text) { return text + QString(text.size() / 2 + 1, u'W'); }

bool IsMarked(const QString& text) {
  return text.startsWith(QLatin1String("[[")) && text.endsWith(QLatin1String("]]"));
}

// Every text a user sees or hears in `root`'s visible widgets: captions, items, titles,
// tooltips, accessible names and descriptions. Edit fields hold data, not texts.
QStringList ShownTexts(QWidget* root) {
  QStringList texts;
  const auto add = [&texts](const QString& where, const QString& text) {
    if (!text.isEmpty()) texts << where + QStringLiteral(": ") + text;
  };
  QList<QWidget*> widgets = root->findChildren<QWidget*>();
  widgets.prepend(root);
  add(QStringLiteral("title"), root->windowTitle());
  for (QWidget* w : widgets) {
    if (w != root && !w->isVisibleTo(root)) continue;
    const QString where =
        w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
    add(where + QStringLiteral(" tooltip"), w->toolTip());
    add(where + QStringLiteral(" accessible name"), w->accessibleName());
    add(where + QStringLiteral(" accessible description"), w->accessibleDescription());
    if (auto* label = qobject_cast<QLabel*>(w)) add(where, label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(w)) add(where, button->text());
    if (auto* group = qobject_cast<QGroupBox*>(w)) add(where, group->title());
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
      for (int i = 0; i < combo->count(); ++i) add(where, combo->itemText(i));
    }
    if (auto* list = qobject_cast<QListWidget*>(w)) {
      for (int i = 0; i < list->count(); ++i) {
        add(where, list->item(i)->text());
        add(where + QStringLiteral(" item tooltip"), list->item(i)->toolTip());
      }
    }
    if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
      for (int i = 0; i < tabs->count(); ++i) add(where + QStringLiteral(" tab"), tabs->tabText(i));
    }
  }
  return texts;
}

QStringList MenuTexts(const QMenu& menu) {
  QStringList texts;
  for (QAction* action : menu.actions()) {
    if (!action->isSeparator()) texts << QStringLiteral("menu: ") + action->text();
  }
  return texts;
}

QStringList Unmarked(const QStringList& texts) {
  QStringList out;
  for (const QString& entry : texts) {
    const QString text = entry.section(QStringLiteral(": "), 1);
    bool number = false;
    text.toInt(&number);  // the bit grid's group numbers are data, not texts
    if (!number && !IsMarked(text)) out << entry;
  }
  return out;
}

// Controls narrower (or, wrapped, lower) than their texts need, in `root`.
QStringList CutControls(QWidget* root) {
  QStringList cut;
  for (QWidget* w : root->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(root)) continue;
    const QString name = w->objectName();
    if (auto* label = qobject_cast<QLabel*>(w); label && label->wordWrap()) {
      if (label->height() < label->heightForWidth(label->width())) cut << name;
      continue;
    }
    const bool captioned = qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w);
    if (captioned && w->width() < w->sizeHint().width()) {
      cut << name + QStringLiteral(" %1 < %2").arg(w->width()).arg(w->sizeHint().width());
    }
    if (auto* group = qobject_cast<QGroupBox*>(w); group && group->width() < group->minimumSizeHint().width()) {
      cut << name;
    }
    if (auto* list = qobject_cast<QListWidget*>(w)) {
      for (int i = 0; i < list->count(); ++i) {
        if (list->visualItemRect(list->item(i)).width() < list->sizeHintForIndex(list->model()->index(i, 0)).width() ||
            list->sizeHintForIndex(list->model()->index(i, 0)).width() > list->viewport()->width()) {
          cut << name + QStringLiteral(" item ") + QString::number(i);
        }
      }
    }
  }
  return cut;
}

class TextsTest : public OptionsTest {
 protected:
  // The sheet's texts with every page shown once, and the look preview's.
  QStringList SheetTexts(const std::function<QStringList(QWidget*)>& collect) {
    QStringList texts;
    RunOptions([&](COptionsSheet& sheet) {
      for (int page = 0; page < sheet.Tabs()->count(); ++page) {
        sheet.Tabs()->tabBar()->setCurrentIndex(page);
        QTest::qWait(10);
        texts << collect(&sheet);
      }
      auto* look = qobject_cast<CUIPage*>(sheet.Tabs()->widget(1));
      WhenModalOpens(watches_.get(), [&](QDialog* preview) {
        QTest::qWait(10);
        texts << collect(preview);
        preview->reject();
      });
      qobject_cast<QPushButton*>(look->Control(1012))->click();
    });
    return texts;
  }
};

TEST_F(TextsTest, EveryShownTextComesFromTheTextFile) {
  ASSERT_TRUE(RewriteTexts(program_.filePath("String.dat"), Marked));
  CConverterDlg& window = Open();
  window.SetBitGridShown(true);
  QStringList texts = ShownTexts(&window);
  texts << MenuTexts(*window.WindowMenu()) << MenuTexts(*window.CreateTrayMenu());
  // A digit field's edit menu; each item keeps the key the line edit shows after a tab.
  QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(2, 2), window.Field(0)->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(window.Field(0), &request);
  auto* editMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(editMenu, nullptr);
  for (const QString& item : MenuTexts(*editMenu)) texts << item.section(u'\t', 0, 0);
  editMenu->close();
  EXPECT_GT(texts.size(), 37);
  EXPECT_TRUE(Unmarked(texts).isEmpty()) << Listed(Unmarked(texts));
  const QStringList sheet = SheetTexts(ShownTexts);
  EXPECT_GT(sheet.size(), 20) << "the sheet, both pages and the preview were seen";
  EXPECT_TRUE(Unmarked(sheet).isEmpty()) << Listed(Unmarked(sheet));
  // The browse dialog's title and the names of its filters (their patterns stay).
  RunOptions([&](COptionsSheet& sheet) {
    sheet.Tabs()->tabBar()->setCurrentIndex(1);
    auto* look = qobject_cast<CUIPage*>(sheet.Tabs()->widget(1));
    if (!look->ShowImageCheck()->isChecked()) look->ShowImageCheck()->click();
    qobject_cast<QPushButton*>(look->Control(1003))->click();
    sheet.reject();
  });
  ASSERT_FALSE(answers_.fileRequests.empty());
  QStringList dialog{QStringLiteral("file dialog title: ") + answers_.fileRequests.back().title};
  for (const QString& filter : answers_.fileRequests.back().nameFilters) {
    dialog << QStringLiteral("filter: ") + filter.section(QStringLiteral(" ("), 0, 0);
  }
  EXPECT_TRUE(Unmarked(dialog).isEmpty()) << Listed(Unmarked(dialog));
}

TEST_F(TextsTest, LayoutsGrowWithLongerTexts) {
  ASSERT_TRUE(RewriteTexts(program_.filePath("String.dat"), Longer));
  CConverterDlg& window = Open();
  QTest::qWait(10);
  EXPECT_TRUE(window.WindowMenu()->actions().last()->text().endsWith(u'W'));
  EXPECT_TRUE(CutControls(&window).isEmpty()) << Listed(CutControls(&window));
  int pages = 0;
  SheetTexts([&pages](QWidget* root) {
    ++pages;
    EXPECT_TRUE(CutControls(root).isEmpty()) << Listed(CutControls(root)) << root->windowTitle().toStdString();
    return QStringList();
  });
  EXPECT_EQ(pages, 3);
}

// Always on top and snap cannot work where the desktop keeps window placement to
// itself: their items are greyed with the reason and keep their stored values.
TEST_F(TextsTest, PlacementItemsGreyedOnlyWhereTheDesktopPlacesWindows) {
  const struct {
    const char* platform;
    bool greyed;
  } cases[] = {{"wayland", true}, {"wayland-egl", true}, {"xcb", false}, {"offscreen", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.platform);
    QDir().mkpath(config_.filePath("Quillory/Radixpad"));
    WriteIniInt("Quillory Radixpad", "AlwaysOnTop", 1, config_.filePath("Quillory/Radixpad/QyRadixpad.ini"));
    Open(true, QString::fromLatin1(c.platform));
    RunOptions([&](COptionsSheet& sheet) {
      auto* list = sheet.Tabs()->widget(0)->findChild<QListWidget*>();
      ASSERT_NE(list, nullptr);
      for (int row : {0, 2}) {
        const QListWidgetItem* item = list->item(row);
        EXPECT_EQ(!item->flags().testFlag(Qt::ItemIsEnabled), c.greyed) << row;
        EXPECT_EQ(item->toolTip(), c.greyed ? "This desktop does not let programs do this." : "") << row;
      }
      EXPECT_TRUE(list->item(1)->flags().testFlag(Qt::ItemIsEnabled)) << "minimise to tray works everywhere";
      EXPECT_EQ(list->item(0)->checkState(), Qt::Checked);
      sheet.Buttons()->button(QDialogButtonBox::Ok)->click();
    });
    EXPECT_EQ(GetIniInt("Quillory Radixpad", "AlwaysOnTop", -1, config_.filePath("Quillory/Radixpad/QyRadixpad.ini")),
              1)
        << "the stored value is kept";
    window_.reset();
  }
}

}  // namespace
}  // namespace radixpad::test
