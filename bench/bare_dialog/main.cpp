// The yardstick for Radixpad's start-up: a bare Qt dialog with the same
// widgets as the main window, shown the same way (digits in the fixed-width
// font, wide enough for 64 binary digits), and nothing else (no settings, no
// data files, no icon, no common library, no single instance).
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QDialog dialog;
  dialog.setWindowTitle("Bare Dialog");
  dialog.setFont(QFont("Verdana", 10));
  auto* grid = new QGridLayout(&dialog);
  for (const char* text : {"&8 bits", "&16 Bits", "&32 bits", "&64 bits"}) {
    auto* radio = new QRadioButton(text);
    radio->hide();
    grid->addWidget(radio, 0, 0);
  }
  auto* check = new QCheckBox("Signed");
  check->hide();
  grid->addWidget(check, 0, 0);
  auto* selectors = new QHBoxLayout;
  selectors->addStretch();
  auto* width = new QComboBox;
  width->addItems({"8 Bits", "16 Bits", "32 Bits", "64 Bits"});
  width->setCurrentIndex(2);
  auto* sign = new QComboBox;
  sign->addItems({"Signed", "Unsigned"});
  selectors->addWidget(width);
  selectors->addWidget(sign);
  grid->addLayout(selectors, 0, 1);
  const QFontMetrics units(dialog.font());  // dialog units of the window font
  QFont digits = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  digits.setPointSizeF(dialog.font().pointSizeF());
  QLineEdit* first = nullptr;
  for (int row = 0; row < 4; ++row) {
    auto* base = new QComboBox;
    base->addItems({"Binary", "Octal", "Decimal", "Hexadecimal"});
    base->setCurrentIndex(row);
    base->setMinimumWidth(98 * units.averageCharWidth() / 4);
    auto* label = new QLabel("S");
    label->hide();
    grid->addWidget(base, row + 1, 0);
    grid->addWidget(label, row + 1, 0);
    auto* field = new QLineEdit;
    field->setFont(digits);
    if (!first) first = field;
    grid->addWidget(field, row + 1, 1);
  }
  auto* buttons = new QHBoxLayout;
  for (const char* text : {"<", "&Shift    >", "<", "&Rotate    >", "&Invert Bits", "&Pick Color.."}) {
    buttons->addWidget(new QPushButton(text));
  }
  grid->addLayout(buttons, 5, 0, 1, 2);
  // Radixpad's size: the template's, then as wide as the first field needs for 64
  // binary digits.
  dialog.resize(290 * units.averageCharWidth() / 4, 111 * units.height() / 8);
  const QFontMetrics metrics(digits);
  const int chrome = first->sizeHint().width() - metrics.horizontalAdvance(QLatin1Char('x')) * 17;
  dialog.layout()->activate();
  const int missing = metrics.horizontalAdvance(QString(64, QLatin1Char('0'))) + chrome + 2 - first->width();
  if (missing > 0) dialog.resize(dialog.width() + missing, dialog.height());
  dialog.show();
  return app.exec();
}
