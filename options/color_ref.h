// Colour values as the common library and the settings files keep them: 0x00BBGGRR.
#pragma once

#include <QColor>
#include <QGuiApplication>
#include <QPalette>
#include <cstdint>

#include "qy_messages.h"

namespace radixpad {

using ColorRef = uint32_t;

inline QColor ColorFromRef(ColorRef ref) {
  return QColor(static_cast<int>(ref & 0xFF), static_cast<int>((ref >> 8) & 0xFF),
                static_cast<int>((ref >> 16) & 0xFF));
}

inline ColorRef RefFromColor(const QColor& color) {
  const QColor rgb = color.toRgb();
  return static_cast<ColorRef>(rgb.red()) | (static_cast<ColorRef>(rgb.green()) << 8) |
         (static_cast<ColorRef>(rgb.blue()) << 16);
}

/// The desktop theme's button face and button text colours.
inline ColorRef SystemButtonFaceColor() { return RefFromColor(QGuiApplication::palette().color(QPalette::Button)); }
inline ColorRef SystemButtonTextColor() { return RefFromColor(QGuiApplication::palette().color(QPalette::ButtonText)); }

/// A colour value that names no colour of its own: the desktop theme's stands in, now
/// and after the theme changes. Saved, it clears the saved colour.
inline constexpr ColorRef kThemeColor = kLookColorNotSet;

/// The colour to show for `ref`: `theme` when `ref` is kThemeColor.
inline QColor ShownColor(ColorRef ref, ColorRef theme) { return ColorFromRef(ref == kThemeColor ? theme : ref); }

}  // namespace radixpad
