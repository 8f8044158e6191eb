#include "bit_grid_panel.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QStaticText>

namespace radixpad {

namespace {

constexpr int kBitsPerLine = 32;
constexpr int kGroupGap = 6;  // pixels between groups of four

std::size_t At(int i) { return static_cast<std::size_t>(i); }

}  // namespace

// A bit: a flat checkable button that paints its digit from its checked state,
// so following the rows changes no text and no layout. It paints every pixel
// itself and its digits are laid out once, which keeps a redraw cheap.
class CBitButton : public QAbstractButton {
 public:
  explicit CBitButton(QWidget* parent) : QAbstractButton(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    zero_.setPerformanceHint(QStaticText::AggressiveCaching);
    one_.setPerformanceHint(QStaticText::AggressiveCaching);
  }
  QSize sizeHint() const override { return minimumSize(); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QPalette& colors = palette();
    const bool on = isChecked();
    painter.fillRect(rect(), colors.color(on ? QPalette::Highlight : QPalette::Base));
    painter.setPen(colors.color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(colors.color(on ? QPalette::HighlightedText : QPalette::Text));
    const QStaticText& digit = on ? one_ : zero_;
    const QSizeF size = digit.size();
    painter.drawStaticText(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), digit);
    if (hasFocus()) {
      painter.setPen(QPen(colors.color(on ? QPalette::HighlightedText : QPalette::Text), 1, Qt::DotLine));
      painter.drawRect(rect().adjusted(2, 2, -3, -3));
    }
  }

 private:
  QStaticText zero_{QStringLiteral("0")};
  QStaticText one_{QStringLiteral("1")};
};

CBitGridPanel::CBitGridPanel(const QFont& digitFont, QWidget* parent) : QWidget(parent) {
  // As tall as its lines: spare height of the window goes elsewhere.
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  const QFontMetrics metrics(digitFont);
  const QSize bitSize(metrics.horizontalAdvance(QLatin1Char('0')) + 8, metrics.height() + 6);
  QFont numberFont = font();
  numberFont.setPointSizeF(std::max(6.0, numberFont.pointSizeF() - 2));
  // A group that is not exclusive: Qt then finds a bit's fellows in the group
  // instead of searching the panel's children each time a bit goes off.
  auto* group = new QButtonGroup(this);
  group->setExclusive(false);
  for (int bit = 0; bit < kMaxBits; ++bit) {
    auto* button = new CBitButton(this);
    group->addButton(button);
    button->setCheckable(true);
    button->setFont(digitFont);
    button->setFixedSize(bitSize);
    button->setFocusPolicy(Qt::ClickFocus);
    button->installEventFilter(this);
    // A bit shows the rows and nothing else: a change of its state from anywhere
    // but the rows (a click, Space, a screen reader's Toggle) is taken back and asks
    // for the flip, after which the rows draw the bit again.
    connect(button, &QAbstractButton::toggled, this, [this, bit, button](bool checked) {
      if (showing_) return;
      showing_ = true;
      button->setChecked(!checked);
      showing_ = false;
      SetCurrent(bit);
      emit bitClicked(bit);
    });
    buttons_[At(bit)] = button;
  }
  for (int group = 0; group < kMaxBits / 4; ++group) {
    auto* number = new QLabel(QString::number(group * 4), this);
    number->setFont(numberFont);
    number->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    numbers_[At(group)] = number;
  }
  outer_ = new QHBoxLayout(this);
  outer_->setContentsMargins(0, 0, 0, 0);
  outer_->addStretch(1);
  outer_->addStretch(1);
}

QAbstractButton* CBitGridPanel::BitButton(int bit) const {
  return bit >= 0 && bit < kMaxBits ? buttons_[At(bit)] : nullptr;
}

void CBitGridPanel::SetTexts(const QString& bitToolTip, const QString& bitName, const QString& gridName) {
  setAccessibleName(gridName);
  for (int bit = 0; bit < kMaxBits; ++bit) {
    buttons_[At(bit)]->setToolTip(bitToolTip.arg(bit));
    buttons_[At(bit)]->setAccessibleName(bitName.arg(bit));
  }
}

void CBitGridPanel::PlaceInTabOrder(QWidget* before) {
  QWidget* previous = before;
  for (int bit = kMaxBits - 1; bit >= 0; --bit) {
    setTabOrder(previous, buttons_[At(bit)]);
    previous = buttons_[At(bit)];
  }
}

void CBitGridPanel::LayOut(int bits) {
  // A fresh grid each time: the old one's empty columns would keep their gaps.
  if (grid_) {
    outer_->removeItem(grid_);
    delete grid_;
  }
  grid_ = new QGridLayout;
  grid_->setHorizontalSpacing(1);
  grid_->setVerticalSpacing(0);
  bits_ = bits;
  const int perLine = std::min(bits, kBitsPerLine);
  for (int bit = 0; bit < kMaxBits; ++bit) {
    QAbstractButton* button = buttons_[At(bit)];
    if (bit >= bits) {
      button->hide();
      continue;
    }
    // Position from the left on its line; lines count from the top.
    const int line = (bits - 1 - bit) / kBitsPerLine;
    const int position = perLine - 1 - bit % kBitsPerLine;
    const int column = position + position / 4;  // an empty column between groups
    grid_->addWidget(button, line * 2, column);
    button->show();
    if (bit % 4 == 0) {
      QLabel* number = numbers_[At(bit / 4)];
      grid_->addWidget(number, line * 2 + 1, column);
      number->show();
    }
  }
  for (int group = (bits + 3) / 4; group < kMaxBits / 4; ++group) numbers_[At(group)]->hide();
  for (int group = 1; group < (perLine + 3) / 4; ++group) grid_->setColumnMinimumWidth(group * 5 - 1, kGroupGap);
  outer_->insertLayout(1, grid_);
  // The bit that was current leaves the Tab order even when it is no longer shown.
  SetCurrent(std::min(current_, bits - 1));
}

void CBitGridPanel::ShowPattern(std::string_view pattern) {
  const int bits = static_cast<int>(std::min<std::size_t>(pattern.size(), kMaxBits));
  if (bits != bits_) LayOut(bits);
  showing_ = true;
  for (int bit = 0; bit < bits; ++bit) {
    const bool on = pattern[At(bits - 1 - bit)] == '1';
    QAbstractButton* button = buttons_[At(bit)];
    if (button->isChecked() != on) button->setChecked(on);
  }
  showing_ = false;
}

void CBitGridPanel::SetCurrent(int bit) {
  if (bit < 0 || bit >= bits_) return;
  buttons_[At(current_)]->setFocusPolicy(Qt::ClickFocus);
  current_ = bit;
  buttons_[At(current_)]->setFocusPolicy(Qt::StrongFocus);
}

bool CBitGridPanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  int step = 0;
  switch (key->key()) {
    case Qt::Key_Left:
      step = 1;
      break;
    case Qt::Key_Right:
      step = -1;
      break;
    case Qt::Key_Up:
      step = kBitsPerLine;
      break;
    case Qt::Key_Down:
      step = -kBitsPerLine;
      break;
    default:
      return QWidget::eventFilter(watched, event);
  }
  int from = 0;
  while (from < kMaxBits && buttons_[At(from)] != watched) ++from;
  const int to = from + step;
  if (from < kMaxBits && to >= 0 && to < bits_) {
    SetCurrent(to);
    buttons_[At(to)]->setFocus(Qt::TabFocusReason);
  }
  return true;
}

}  // namespace radixpad
