// Image checks, the picture loader and the clean-up of converted copies.
#include "image_loading.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QLineEdit>
#include <QTemporaryDir>
#include <random>

#include "options_fixture.h"
#include "unix_socket.h"

namespace radixpad::test {
namespace {

// A 1 x 1 GIF89a (Qt can read GIF but not write it).
const QByteArray kTinyGif = QByteArray::fromHex(
    "474946383961"          // GIF89a
    "01000100800000"        // 1 x 1, a global table of two colours
    "000000ffffff"          // black, white
    "21f9040100000000"      // graphic control extension
    "2c000000000100010000"  // image descriptor
    "0202440100"            // LZW data
    "3b");

class ImageTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

  QString Write(const QString& name, const QByteArray& bytes) {
    const QString path = dir_.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }
  QString Save(const QString& name, const char* format, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(10, 200, 30));
    const QString path = dir_.filePath(name);
    EXPECT_TRUE(image.save(path, format, 90)) << name.toStdString();
    return path;
  }
  QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  // `head` followed by zeros (a sparse file) to one byte past the size limit.
  QString Huge(const QString& name, const QByteArray& head) {
    const QString path = Write(name, head);
    EXPECT_TRUE(QFile(path).resize(kMaxImageFileBytes + 1));
    return path;
  }
  QString Socket(const QString& name) {
    const QString path = dir_.filePath(name);
    socket_ = BindUnixSocket(path);
    EXPECT_GE(socket_, 0);
    return path;
  }
  void TearDown() override {
    if (socket_ >= 0) ::close(socket_);
  }
  QString Fifo(const QString& name) {
    const QString path = dir_.filePath(name);
    EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    return path;
  }

  QTemporaryDir dir_;
  DialogAnswers answers_;
  int socket_ = -1;
};

TEST_F(ImageTest, ReadersForBitmapGifAndJpegAreThere) {
  const auto formats = QImageReader::supportedImageFormats();
  for (const char* format : {"bmp", "gif", "jpeg"}) EXPECT_TRUE(formats.contains(format)) << format;
}

TEST_F(ImageTest, CheckImageFileTable) {
  const QString jpeg = Save("photo.jpg", "JPG", {40, 30});
  // What follows the path in the one message shown; null when nothing is shown. Without
  // a text file a refusal of the contents names the file alone.
  const char* const notAFile = " cannot be opened: it is not a file.";
  const char* const special = " cannot be opened: it is a named pipe, a device or a socket, not a file.";
  struct Case {
    const char* what;
    QString path;
    bool passes;
    const char* message;
  };
  const Case cases[] = {
      {"bitmap", Save("plain.bmp", "BMP", {7, 5}), true, nullptr},
      {"gif", Write("tiny.gif", kTinyGif), true, nullptr},
      {"jpeg", jpeg, true, nullptr},
      {"jpeg named .bmp", Write("photo-as.bmp", Read(jpeg)), true, nullptr},
      {"text named .jpg", Write("text.jpg", "this is plain text, not a picture\n"), false, ""},
      {"empty file", Write("empty.jpg", QByteArray()), false, ""},
      {"bitmap over 64 MiB", Huge("huge.bmp", Read(Save("big.bmp", "BMP", {7, 5}))), false, ""},
      {"empty path", QString(), false, nullptr},
      {"missing file", dir_.filePath("gone.gif"), false, " was not found."},
      // Nothing but a regular file is read: each of these is refused by its type, unopened.
      {"folder", dir_.path(), false, notAFile},
      {"fifo", Fifo("pipe.png"), false, special},
      {"device", "/dev/null", false, special},
      {"socket", Socket("socket.png"), false, special},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    answers_.messages.clear();
    QWidget field;
    EXPECT_EQ(CheckImageFile(c.path, nullptr, &field), c.passes);
    ASSERT_EQ(answers_.messages.size(), c.message ? 1u : 0u);
    if (c.message) {
      EXPECT_EQ(answers_.messages[0].text.toStdString(), (c.path + c.message).toStdString());
      EXPECT_EQ(answers_.messages[0].icon, QMessageBox::Critical);
    }
  }
}

TEST_F(ImageTest, RefusalsNameTheFileWithTheTextsOfTheTextFile) {
  QTemporaryDir program;
  ASSERT_TRUE(FillProgramFolder(program));
  const QString textFile = program.filePath("String.dat");
  const QString words = Write("words.gif", "no picture here");
  // Decodable, but behind the size limit: refused before anything is read.
  const QString huge = Huge("huge.gif", kTinyGif);
  const QString marked = Write("marked.dat", "[Error]\n1004=[[%1 gone]]\n1008=[[%1 no file]]\n");
  struct Case {
    QString path;
    QString textFile;
    QString shown;
  };
  const Case cases[] = {
      {words, textFile, words + " is not an image Radixpad can show. Please choose a BMP, GIF, JPEG or PNG file."},
      {huge, textFile, huge + " is larger than 64 MB and is not used as an image. Please choose a smaller file."},
      {words, program.filePath("missing.dat"), words},  // no text: the path alone
      {huge, QString(), huge},
      // The file errors come from the text file too, in English when it lacks them.
      {program.filePath("gone.gif"), marked, "[[" + program.filePath("gone.gif") + " gone]]"},
      {program.path(), marked, "[[" + program.path() + " no file]]"},
      {program.filePath("gone.gif"), QString(), program.filePath("gone.gif") + " was not found."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown.toStdString());
    answers_.messages.clear();
    QLineEdit field;
    field.show();
    EXPECT_FALSE(CheckImageFile(c.path, nullptr, &field, c.textFile));
    ASSERT_EQ(answers_.messages.size(), 1u);
    EXPECT_EQ(answers_.messages[0].text, c.shown);
    EXPECT_EQ(answers_.messages[0].icon, QMessageBox::Critical);
    EXPECT_EQ(field.focusWidget(), &field) << "the path field takes the focus";
  }
  CPictureLoader loader;
  EXPECT_FALSE(loader.LoadFile(huge));
  EXPECT_EQ(loader.DataSize(), 0u) << "nothing was read";
  EXPECT_FALSE(loader.Undecodable());
}

TEST_F(ImageTest, MissingFileNamesTheFileAndTheCause) {
  const QString path = dir_.filePath("gone.gif");
  CPictureLoader loader;
  EXPECT_FALSE(loader.LoadFile(path));
  ASSERT_EQ(answers_.messages.size(), 1u);
  EXPECT_EQ(answers_.messages[0].text, path + " was not found.");
  EXPECT_EQ(loader.DataSize(), 0u);
}

TEST_F(ImageTest, LoaderGivesPixelSizesAndFreesThePicture) {
  struct Case {
    QString path;
    int width, height;
  };
  const Case cases[] = {{Write("tiny.gif", kTinyGif), 1, 1}, {Save("wide.jpg", "JPG", {33, 17}), 33, 17}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    CPictureLoader loader;
    ASSERT_TRUE(loader.LoadFile(c.path));
    EXPECT_EQ(loader.Width(), c.width);
    EXPECT_EQ(loader.Height(), c.height);
    EXPECT_EQ(loader.DataSize(), static_cast<std::size_t>(QFileInfo(c.path).size()));
    loader.FreePicture();
    EXPECT_TRUE(loader.Picture().isNull());
    EXPECT_EQ(loader.Width(), 0);
    EXPECT_EQ(loader.DataSize(), 0u);
  }
  // A failed load after a good one leaves nothing behind.
  CPictureLoader loader;
  ASSERT_TRUE(loader.LoadFile(cases[0].path));
  EXPECT_FALSE(loader.LoadFile(Write("text.gif", "words")));
  EXPECT_EQ(loader.Width(), 0);
  EXPECT_TRUE(loader.Picture().isNull());
}

TEST_F(ImageTest, DamagedAndRandomDataNeverCrash) {
  const QByteArray jpeg = Read(Save("whole.jpg", "JPG", {64, 48}));
  const QByteArray bmp = Read(Save("whole.bmp", "BMP", {64, 48}));
  std::vector<QByteArray> inputs = {jpeg.left(jpeg.size() / 2), jpeg.left(4), bmp.left(40), kTinyGif.left(20)};
  std::mt19937 random(12345);
  for (int n = 0; n < 20; ++n) {
    QByteArray bytes(static_cast<qsizetype>(random() % 4096 + 1), Qt::Uninitialized);
    for (char& b : bytes) b = static_cast<char>(random());
    // Random bodies behind real headers reach the decoders.
    if (n % 4 == 1) bytes.replace(0, 3, "\xFF\xD8\xFF");
    if (n % 4 == 2) bytes.replace(0, 6, "GIF89a");
    if (n % 4 == 3) bytes.replace(0, 2, "BM");
    inputs.push_back(bytes);
  }
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    SCOPED_TRACE(i);
    const QString path = Write(QString("damaged%1.jpg").arg(i), inputs[i]);
    answers_.messages.clear();
    // A refusal names the file, once.
    const bool passed = CheckImageFile(path);
    ASSERT_EQ(answers_.messages.size(), passed ? 0u : 1u);
    if (!passed) {
      EXPECT_EQ(answers_.messages[0].text, path);
    }
    answers_.messages.clear();
    CPictureLoader loader;
    loader.LoadFromBuffer(inputs[i].constData(), static_cast<std::size_t>(inputs[i].size()));
    if (loader.Picture().isNull()) {
      EXPECT_EQ(loader.Width(), 0);
    }
    EXPECT_TRUE(answers_.messages.empty()) << "the loader itself fails quietly on bad data";
  }
}

TEST(MissingImageFormatTest, HeadersOfFormatsWithoutAReader) {
  const QList<QByteArray> all = {"bmp", "gif", "jpeg", "jpg", "png"};
  const QList<QByteArray> bare = {"bmp", "png"};
  struct Case {
    QByteArray data;
    QList<QByteArray> formats;
    QString missing;
  };
  const Case cases[] = {
      {"GIF89a....", bare, "gif"},
      {"GIF87a....", bare, "gif"},
      {"\xFF\xD8\xFF\xE0..", bare, "jpeg"},
      {"GIF89a....", all, ""},
      {"\xFF\xD8\xFF\xE0..", all, ""},
      {"BM......", {}, "bmp"},
      {"plain text", {}, ""},
      {"", {}, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MissingImageFormat(c.data, c.formats), c.missing) << c.data.toStdString();
  }
  EXPECT_TRUE(MissingPluginText().contains("libqgif"));
  EXPECT_TRUE(MissingPluginText().contains("libqjpeg"));
}

class PurgeTest : public ::testing::Test {
 protected:
  void Make(const QStringList& names) {
    for (const QString& name : names) {
      QFile file(dir_.filePath(name));
      ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
    }
  }
  QStringList Left() const {
    QStringList names = QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    names.sort();
    return names;
  }
  QTemporaryDir dir_;
};

TEST_F(PurgeTest, KeepsOnlyTheCurrentCopyWhateverItsCase) {
  struct Case {
    QString imagePath;
    QStringList files;
    QStringList left;
  };
  const Case cases[] = {
      {"/pictures/sea.jpg", {"sea.jpg.bmp", "other.bmp", "OLD.BMP", "notes.txt"}, {"notes.txt", "sea.jpg.bmp"}},
      {"/pictures/sea.jpg", {"SEA.JPG.BMP", "other.bmp"}, {"SEA.JPG.BMP"}},
      {"sea.jpg", {"sea.jpg.bmp", "sea.bmp"}, {"sea.jpg.bmp"}},
      {"", {".bmp", "a.bmp", "b.Bmp"}, {".bmp"}},
      {"/pictures/none.gif", {"x.bmp.txt"}, {"x.bmp.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.imagePath.toStdString() + " / " + c.files.join(',').toStdString());
    for (const QString& name : Left()) QFile::remove(dir_.filePath(name));
    Make(c.files);
    PurgeImageCopies(c.imagePath, dir_.path() + "/");
    EXPECT_EQ(Left(), c.left);
  }
}

TEST_F(PurgeTest, TheChosenImageInThatFolderIsNoCopy) {
  Make({"mine.bmp", "stale.bmp"});
  PurgeImageCopies(dir_.filePath("mine.bmp"), dir_.path());
  EXPECT_EQ(Left(), QStringList{"mine.bmp"});
}

TEST_F(PurgeTest, NothingIsDeletedInTheTemporaryFolder) {
  const ScopedVariable temp("TMPDIR", dir_.path());
  Make({"someone-elses.bmp", "sea.jpg.bmp", "STALE.BMP"});
  // As the settings folder's fallback gives it (with its "/"), and spelled otherwise.
  for (const QString& folder : {dir_.path() + "/", dir_.path(), dir_.path() + "/./"}) {
    PurgeImageCopies("/pictures/sea.jpg", folder);
    EXPECT_EQ(Left(), (QStringList{"STALE.BMP", "sea.jpg.bmp", "someone-elses.bmp"})) << folder.toStdString();
  }
  // A folder of its own inside it is cleaned as usual.
  ASSERT_TRUE(QDir(dir_.path()).mkdir("own"));
  QFile(dir_.filePath("own/stale.bmp")).open(QIODevice::WriteOnly);
  PurgeImageCopies("/pictures/sea.jpg", dir_.filePath("own"));
  EXPECT_FALSE(QFile::exists(dir_.filePath("own/stale.bmp")));
}

TEST_F(PurgeTest, FoldersAndAMissingFolderAreLeftAlone) {
  ASSERT_TRUE(QDir(dir_.path()).mkdir("album.bmp"));
  PurgeImageCopies("/p/x.jpg", dir_.path());
  EXPECT_TRUE(QFileInfo(dir_.filePath("album.bmp")).isDir());
  PurgeImageCopies("/p/x.jpg", dir_.filePath("no-such-folder"));
  PurgeImageCopies("/p/x.jpg", QString());
}

}  // namespace
}  // namespace radixpad::test
