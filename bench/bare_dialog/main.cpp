// The yardstick for Radixpad's start-up: a bare Qt dialog with the same
// widgets as the main window and nothing else (no settings, no data files, no
// common library, no single instance).
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
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
  for (int row = 0; row < 4; ++row) {
    auto* base = new QComboBox;
    base->addItems({"Binary", "Octal", "Decimal", "Hexadecimal"});
    base->setCurrentIndex(row);
    auto* label = new QLabel("S");
    label->hide();
    grid->addWidget(base, row + 1, 0);
    grid->addWidget(label, row + 1, 0);
    grid->addWidget(new QLineEdit, row + 1, 1);
  }
  auto* buttons = new QHBoxLayout;
  for (const char* text : {"<", "&Shift    >", "<", "&Rotate    >", "&Invert Bits", "&Pick Color.."}) {
    buttons->addWidget(new QPushButton(text));
  }
  grid->addLayout(buttons, 5, 0, 1, 2);
  dialog.show();
  return app.exec();
}
