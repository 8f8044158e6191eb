// The look on screen: a served window grabbed and its pixels checked.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "common_lib.h"
#include "look.h"
#include "qy_messages.h"
#include "test_support.h"

namespace radixpad {
namespace {

using test::BlockColor;
using test::Look;

const QString kLibraryFile = QStringLiteral(RADIXPAD_TEST_COMMON_LIBRARY);
const QString kProgramDir = QStringLiteral(RADIXPAD_TEST_PROGRAM_DIR);
constexpr uint32_t kBackground = 0x00204060;  // shown as #604020
const QColor kBackgroundColor(0x60, 0x40, 0x20);

// Where to look and what to find there: a block of the image (row, column), or the
// background colour when row is -1.
struct Probe {
  int x;
  int y;
  int row;
  int column;
};

class PaintingTest : public testing::Test {
 protected:
  void SetUp() override {
    m_lib.SetupFolders(nullptr, kProgramDir);
    m_window = std::make_unique<QWidget>();
    m_window->setFixedSize(120, 90);
    ASSERT_TRUE(m_lib.Load(m_window.get(), kLibraryFile));
    m_lib.Attach(m_window.get());
    m_window->show();
    m_imagePath = m_files.filePath(QStringLiteral("blocks.png")).toUtf8();
    ASSERT_TRUE(test::BlockImage().save(QString::fromUtf8(m_imagePath)));
    Look(m_window.get(), kLookSetBackgroundColor, kBackground);
  }
  void TearDown() override {
    m_window.reset();
    CCommonLib::Unload();
  }

  void ShowImage(const QByteArray& path, int method) {
    Look(m_window.get(), kLookSetDisplayMethod, method);
    Look(m_window.get(), kLookSetImagePath, reinterpret_cast<intptr_t>(path.constData()));
    Look(m_window.get(), kLookSetShowImage, 1);
  }

  void ExpectProbes(const std::vector<Probe>& probes) {
    const QImage shot = test::Grab(m_window.get());
    ASSERT_EQ(shot.size(), m_window->size());
    for (const Probe& p : probes) {
      const QColor expected = p.row < 0 ? kBackgroundColor : BlockColor(p.row, p.column);
      EXPECT_EQ(shot.pixelColor(p.x, p.y), expected) << "at " << p.x << "," << p.y;
    }
  }

  test::ScopedConfigHome m_home;
  QTemporaryDir m_files;
  CCommonLib m_lib;
  std::unique_ptr<QWidget> m_window;
  QByteArray m_imagePath;
};

TEST_F(PaintingTest, BackgroundColourFillsTheWindow) {
  ExpectProbes({{0, 0, -1, 0}, {60, 45, -1, 0}, {119, 89, -1, 0}});
  Look(m_window.get(), kLookSetBackgroundColor, 0x000000FF);
  EXPECT_EQ(test::Grab(m_window.get()).pixelColor(60, 45), QColor(255, 0, 0));
}

TEST_F(PaintingTest, EachDisplayMethodPlacesTheImage) {
  // A 12x12 image of 4x4 blocks in a 120x90 window.
  struct Case {
    const char* name;
    int method;
    std::vector<Probe> probes;
  };
  const std::vector<Probe> tiled = {{2, 2, 0, 0},   {14, 2, 0, 0},   {6, 6, 1, 1},
                                    {10, 10, 2, 2}, {118, 88, 1, 2}, {62, 38, 0, 0}};
  const Case cases[] = {
      {"Center", 0, {{56, 41, 0, 0}, {60, 45, 1, 1}, {64, 49, 2, 2}, {52, 45, -1, 0}, {5, 5, -1, 0}, {115, 85, -1, 0}}},
      {"Stretch", 1, {{20, 15, 0, 0}, {60, 45, 1, 1}, {100, 75, 2, 2}, {100, 15, 0, 2}, {20, 75, 2, 0}}},
      {"Tile", 2, tiled},
      {"Top-Left", 3, {{2, 2, 0, 0}, {10, 10, 2, 2}, {14, 2, -1, 0}, {2, 14, -1, 0}, {60, 45, -1, 0}}},
      {"Top-Right", 4, {{110, 2, 0, 0}, {118, 10, 2, 2}, {105, 2, -1, 0}, {2, 2, -1, 0}}},
      {"Bottom-Left", 5, {{2, 80, 0, 0}, {10, 88, 2, 2}, {2, 76, -1, 0}, {2, 2, -1, 0}}},
      {"Bottom-Right", 6, {{110, 80, 0, 0}, {118, 88, 2, 2}, {105, 80, -1, 0}, {110, 76, -1, 0}}},
      {"3x3 Tiling",
       7,
       {{1, 1, 0, 0},
        {118, 1, 0, 2},
        {1, 88, 2, 0},
        {118, 88, 2, 2},  // corners
        {60, 1, 0, 1},
        {5, 1, 0, 1},
        {114, 2, 0, 1},
        {60, 88, 2, 1},  // top and bottom edges
        {1, 45, 1, 0},
        {1, 5, 1, 0},
        {118, 45, 1, 2},
        {118, 84, 1, 2},  // left and right edges
        {60, 45, 1, 1},
        {5, 5, 1, 1},
        {114, 84, 1, 1}}},  // centre
      {"unknown method 8 as Tile", 8, tiled},
      {"no method chosen (-1) as Tile", -1, tiled},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ShowImage(m_imagePath, c.method);
    ExpectProbes(c.probes);
  }
}

TEST_F(PaintingTest, ResizeRepaintsByTheNewSize) {
  ShowImage(m_imagePath, kDisplayBottomRight);
  ExpectProbes({{118, 88, 2, 2}});
  m_window->setFixedSize(200, 100);
  QApplication::processEvents();
  ExpectProbes({{198, 98, 2, 2}, {190, 90, 0, 0}, {118, 88, -1, 0}});
}

TEST_F(PaintingTest, ShowImageOffLeavesTheColour) {
  ShowImage(m_imagePath, kDisplayStretch);
  Look(m_window.get(), kLookSetShowImage, 0);
  ExpectProbes({{20, 15, -1, 0}, {60, 45, -1, 0}});
}

TEST_F(PaintingTest, AnImageThatDoesNotLoadFallsBackToTheColour) {
  const QString damaged = m_files.filePath(QStringLiteral("damaged.png"));
  QByteArray bytes;
  {
    QFile file(QString::fromUtf8(m_imagePath));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    bytes = file.readAll();
  }
  test::WriteFile(damaged, bytes.left(bytes.size() / 3));  // a cut-off file
  const QString text = m_files.filePath(QStringLiteral("notes.jpg"));
  test::WriteFile(text, "not a picture at all");
  const QString empty = m_files.filePath(QStringLiteral("empty.bmp"));
  test::WriteFile(empty, QByteArray());
  const QString missing = m_files.filePath(QStringLiteral("gone.png"));
  // A whole image followed by zeros up to one byte past the size limit: never read.
  const QString huge = m_files.filePath(QStringLiteral("huge.png"));
  ASSERT_TRUE(QFile::copy(QString::fromUtf8(m_imagePath), huge));
  ASSERT_TRUE(QFile(huge).resize(kMaxImageFileBytes + 1));
  // Opening a pipe for reading would wait for a writer that never comes.
  const QString pipe = m_files.filePath(QStringLiteral("pipe.png"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);

  for (const QString& path : {damaged, text, empty, missing, huge, pipe}) {
    SCOPED_TRACE(path.toStdString());
    ShowImage(m_imagePath, kDisplayStretch);
    ExpectProbes({{60, 45, 1, 1}});
    ShowImage(path.toUtf8(), kDisplayStretch);
    ExpectProbes({{20, 15, -1, 0}, {60, 45, -1, 0}, {100, 75, -1, 0}});
    EXPECT_EQ(test::LookPath(m_window.get()), path) << "the choice itself is kept";
  }
}

TEST_F(PaintingTest, AnImageGoneBadBeforeTheNextStartShowsTheColour) {
  const QString image = QString::fromUtf8(m_imagePath);
  // What happens to the saved image's file between two runs.
  struct Case {
    const char* name;
    std::function<void()> spoil;
  };
  const Case cases[] = {
      {"removed", [] {}},
      {"replaced by a pipe", [&] { ASSERT_EQ(::mkfifo(QFile::encodeName(image).constData(), 0600), 0); }},
      {"grown past the limit",
       [&] {
         ASSERT_TRUE(test::BlockImage().save(image));
         ASSERT_TRUE(QFile(image).resize(kMaxImageFileBytes + 1));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(image);
    ASSERT_TRUE(test::BlockImage().save(image));
    ShowImage(m_imagePath, kDisplayTile);
    ExpectProbes({{2, 2, 0, 0}});
    m_window.reset();
    CCommonLib::Unload();
    ASSERT_TRUE(QFile::remove(image));
    c.spoil();

    m_window = std::make_unique<QWidget>();
    m_window->setFixedSize(120, 90);
    ASSERT_TRUE(m_lib.Load(m_window.get(), kLibraryFile));
    m_lib.Attach(m_window.get());  // reads the saved look and its image
    m_window->show();
    ExpectProbes({{2, 2, -1, 0}, {60, 45, -1, 0}});
    EXPECT_EQ(test::LookPath(m_window.get()), image) << "the choice itself is kept";
  }
}

}  // namespace
}  // namespace radixpad
