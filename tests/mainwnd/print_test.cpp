// `radixpad --print` answers what the window's rows show after the same paste.
#include <QClipboard>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <sstream>

#include "print_command.h"
#include "window_fixture.h"

namespace radixpad::test {
namespace {

class PrintTest : public WindowTest {};

TEST_F(PrintTest, PrintedRowsAreTheWindowsRowsAfterThePaste) {
  CConverterDlg& window = OpenWithViews();
  struct Case {
    int widthIndex;
    bool isSigned;
    int base;
    const char* value;
  };
  const Case cases[] = {
      {0, true, kDecimal, "-128"},
      {0, false, kHexadecimal, "0xff"},
      {1, true, kBinary, "0b1000_0000_0000_0000"},
      {2, true, kOctal, "0o17"},
      {2, false, kDecimal, " 4'294'967'295 "},
      {3, true, kHexadecimal, "#8000000000000000"},
      {3, false, kDecimal, "18446744073709551615"},
      {2, true, kDecimal, "0"},
      {1, true, kHexadecimal, "00ffh"},
  };
  const char* const widthWords[] = {"8", "16", "32", "64"};
  const char* const baseWords[] = {"bin", "oct", "dec", "hex"};
  const char* const jsonNames[] = {"binary", "octal", "decimal", "hexadecimal"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    Choose(1031, c.widthIndex);
    Choose(1020, c.isSigned ? 0 : 1);
    for (int base = 0; base < kBaseCount; ++base) FieldOf(base)->SetText("");
    QGuiApplication::clipboard()->setText(QString::fromUtf8(c.value));
    QTest::keyClick(FieldOf(c.base), Qt::Key_V, Qt::ControlModifier);

    std::ostringstream out, err;
    const int status = RunPrintCommand({"--json", "--width", widthWords[c.widthIndex],
                                        c.isSigned ? "--signed" : "--unsigned", "--base", baseWords[c.base], c.value},
                                       out, err, "");
    ASSERT_EQ(status, 0) << err.str();
    QJsonParseError error{};
    const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString(out.str()), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << out.str();
    const QJsonObject row = json.object();
    EXPECT_EQ(row.value("input").toString(), QString::fromUtf8(c.value));
    EXPECT_EQ(row.value("width").toInt(), WidthBits(c.widthIndex));
    EXPECT_EQ(row.value("signed").toBool(), c.isSigned);
    for (int base = 0; base < kBaseCount; ++base) {
      EXPECT_EQ(row.value(jsonNames[base]).toString(), TextOf(base)) << jsonNames[base];
    }
    // The views' fields are what the window's views show.
    const QJsonValue floatView = row.value("float");
    EXPECT_EQ(floatView.isNull(), c.widthIndex == 0);
    if (!floatView.isNull()) {
      EXPECT_EQ(floatView["decimal"].toString(), window.FloatField()->text());
      EXPECT_TRUE(window.FloatLine()->text().endsWith(", hex " + floatView["hex"].toString()));
      EXPECT_TRUE(window.FloatLine()->text().contains(" " + floatView["exponent"].toString() + " ("));
    }
    EXPECT_EQ(u'\u2066' + row.value("char").toString() + u'\u2069', window.CharLine()->text());
  }
}

}  // namespace
}  // namespace radixpad::test
