#include "key_field.h"

#include <QKeyEvent>

#include "global_key.h"

namespace radixpad {
namespace {

bool IsModifierKey(int key) {
  switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_Mode_switch:
      return true;
    default:
      return false;
  }
}

constexpr Qt::KeyboardModifiers kRecorded =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier | Qt::KeypadModifier;

}  // namespace

CKeyField::CKeyField(QWidget* parent) : QLineEdit(parent), m_key(kNoKey) {
  setReadOnly(true);
  setContextMenuPolicy(Qt::NoContextMenu);
  // The keys themselves, not what an input method would make of them.
  setAttribute(Qt::WA_InputMethodEnabled, false);
  setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Ctrl+Alt+Shift+Meta+Pause")));
}

void CKeyField::SetKey(QKeyCombination key) {
  m_key = IsNoKey(key) ? kNoKey : key;
  setText(KeyToDisplayText(m_key));
}

bool CKeyField::event(QEvent* event) {
  // Every key but Esc comes here as a key press rather than firing a shortcut or a
  // mnemonic of the window.
  if (event->type() == QEvent::ShortcutOverride) {
    if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape) {
      event->accept();
      return true;
    }
  }
  return QLineEdit::event(event);
}

void CKeyField::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const Qt::KeyboardModifiers modifiers = event->modifiers() & kRecorded;
  const bool plain = !(modifiers & ~(Qt::ShiftModifier | Qt::KeypadModifier));
  if ((key == Qt::Key_Escape && plain) || ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && plain)) {
    event->ignore();
    return;
  }
  event->accept();
  if (IsNoKey(QKeyCombination(static_cast<Qt::Key>(key))) || IsModifierKey(key)) return;
  const QKeyCombination pressed(modifiers, static_cast<Qt::Key>(key));
  // The same key again is passed on too: a key the desktop refused is asked for anew.
  SetKey(pressed);
  emit keyChanged(m_key);
}

}  // namespace radixpad
