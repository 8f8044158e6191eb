// The converter settings of section "General" and the auto-copy.
#include <QApplication>
#include <QScreen>
#include <limits>

#include "converter_dlg.h"
#include "digit_edit.h"
#include "ini_store.h"
#include "radix_rules.h"
#include "settings_keys.h"
#include "window_platform.h"

namespace radixpad {

namespace {

QString Key(const char* key) { return QString::fromLatin1(key); }

const QString kGeneral = Key(sections::kGeneral);
const std::array<QString, 4> kRowKeys{Key(keys::kRow1Base), Key(keys::kRow2Base), Key(keys::kRow3Base),
                                      Key(keys::kRow4Base)};
const QString kSignedKey = Key(keys::kSigned);
const QString kBitsKey = Key(keys::kBits);
const QString kLastConvertKey = Key(keys::kLastConvert);
const QString kAutoCopyKey = Key(keys::kAutoCopy);
const QString kBitGridKey = Key(keys::kBitGrid);
const QString kGroupDigitsKey = Key(keys::kGroupDigits);
const QString kFloatViewKey = Key(keys::kFloatView);
const QString kCharViewKey = Key(keys::kCharView);
const QString kXKey = Key(keys::kX);
const QString kYKey = Key(keys::kY);

}  // namespace

bool CConverterDlg::SaveSettings(SaveMoment moment) {
  const QString& file = Paths().userSettingsFile;
  if (file.isEmpty()) return false;
  // Ending before the start-up tick: what is saved is read first and saved back as it
  // was, never the built-in values over it.
  if (startupTimer_.isActive()) LoadSettings();
  const auto entry = [](const QString& key, int value) { return IniEntry{kGeneral, key, QString::number(value)}; };
  QList<IniEntry> entries;
  for (int row = 0; row < 4; ++row) {
    entries << entry(kRowKeys[static_cast<std::size_t>(row)],
                     baseSelectors_[static_cast<std::size_t>(row)]->CurrentIndex());
  }
  entries << entry(kSignedKey, signSelector_->CurrentIndex()) << entry(kBitsKey, widthSelector_->CurrentIndex())
          << entry(kLastConvertKey, converter_->LastConverted()) << entry(kAutoCopyKey, autoCopyMode_)
          << entry(kBitGridKey, bitGridShown_ ? 1 : 0) << entry(kFloatViewKey, floatViewShown_ ? 1 : 0)
          << entry(kCharViewKey, charViewShown_ ? 1 : 0) << entry(kGroupDigitsKey, GroupDigits() ? 1 : 0);
  if (ProgramsCanPlaceWindows(windowPlatform_)) entries << entry(kXKey, pos().x()) << entry(kYKey, pos().y());
  // One replacement of the file: another copy of the program saving into the same file
  // never leaves a mix of its values and these.
  return SaveSettingsEntries(entries, file, Paths().textFile, this, moment);
}

bool CConverterDlg::RestorePosition() {
  const QString& file = Paths().userSettingsFile;
  // Where the compositor places windows, a saved position means nothing.
  if (file.isEmpty() || !ProgramsCanPlaceWindows(windowPlatform_)) return false;
  constexpr int kMissing = std::numeric_limits<int>::min();
  const QPoint saved(GetIniInt(kGeneral, kXKey, kMissing, file), GetIniInt(kGeneral, kYKey, kMissing, file));
  // A point on no screen (a monitor since unplugged) leaves the window centred.
  if (saved.x() == kMissing || saved.y() == kMissing || !QGuiApplication::screenAt(saved)) return false;
  move(saved);
  return true;
}

void CConverterDlg::LoadSettings() {
  startupTimer_.stop();
  // The saved values and the tooltips that follow them: each file is read once.
  const CIniReadBatch reads;
  const QString& file = Paths().userSettingsFile;

  // Row bases, in row order, each through the swapping selector operation; a
  // value out of range stops the later rows.
  for (int row = 0; row < 4; ++row) {
    const int base = GetIniInt(kGeneral, kRowKeys[static_cast<std::size_t>(row)], row, file);
    if (!IsValidBase(base)) break;
    if (baseSelectors_[static_cast<std::size_t>(row)]->CurrentIndex() != base) {
      baseSelectors_[static_cast<std::size_t>(row)]->SetCurrentIndex(base);
      converter_->OnRowBaseSelectorChanged(row);
    }
  }
  UpdateAccessibleNames();

  SetAutoCopyMode(GetIniInt(kGeneral, kAutoCopyKey, 0, file));

  const int bits = GetIniInt(kGeneral, kBitsKey, 2, file);
  if (bits >= 0 && bits < kWidthCount && widthSelector_->CurrentIndex() != bits) {
    ChooseWidth(bits);
  }

  const int sign = GetIniInt(kGeneral, kSignedKey, signSelector_->CurrentIndex(), file);
  if ((sign == 0 || sign == 1) && signSelector_->CurrentIndex() != sign) {
    signSelector_->SetCurrentIndex(sign);
    converter_->OnSignednessSelectorChanged();
  }

  SetFloatViewShown(GetIniInt(kGeneral, kFloatViewKey, 0, file) == 1);
  SetCharViewShown(GetIniInt(kGeneral, kCharViewKey, 0, file) == 1);
  SetBitGridShown(GetIniInt(kGeneral, kBitGridKey, 0, file) == 1);
  SetGroupDigits(GetIniInt(kGeneral, kGroupDigitsKey, 0, file) == 1);

  const int last = GetIniInt(kGeneral, kLastConvertKey, converter_->LastConverted(), file);
  if (IsValidBase(last)) {
    converter_->SetLastConverted(last);
    FieldOfBase(last)->setFocus(Qt::OtherFocusReason);
  }
}

void CConverterDlg::AutoCopy() {
  if (autoCopyMode_ < 1 || autoCopyMode_ > 4) return;
  CDigitEdit* field = FieldOfBase(autoCopyMode_ - 1);
  // An empty row copies nothing and leaves the clipboard as it was.
  if (field->text().isEmpty()) return;
  field->selectAll();
  field->copy();
  field->deselect();
}

}  // namespace radixpad
