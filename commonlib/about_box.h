// The about box: program name, version, copyright line and a link to the help page.
#pragma once

#include <QString>

class QWidget;

namespace radixpad::commonlib {

/// Object name of the box, so that code holding the window can find it.
inline constexpr char kAboutBoxObjectName[] = "QyCommonAboutBox";

/// A text of the box from section About of the text file beside `helpFile`, or `english`.
QString AboutBoxText(const char* key, const QString& helpFile, const char* english);

/// The box's text (rich text) with the help page `helpFile` as a file link.
QString AboutText(const QString& helpFile);

/// Shows the box modally over `owner` (may be null) and returns when it is closed. The
/// box goes away with its owner, should the owner be destroyed while it is open.
void ShowAboutBox(QWidget* owner, const QString& helpFile);

}  // namespace radixpad::commonlib
