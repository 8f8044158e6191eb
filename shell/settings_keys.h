// Names of the settings files, sections and keys, spelled once for the whole program.
#pragma once

namespace radixpad {

/// Application name: window title, single-instance name, product section and the
/// name of the start-up entry.
inline constexpr char kProductName[] = "Quillory Radixpad";

namespace files {
inline constexpr char kUserSettings[] = "QyRadixpad.ini";  // user and shared settings folders
inline constexpr char kTexts[] = "String.dat";             // program folder, read only
inline constexpr char kDefaults[] = "Default.dat";         // program folder, read only
inline constexpr char kHelpPage[] = "index.htm";           // program folder, beside its translations
}  // namespace files

namespace sections {
inline constexpr char kGeneral[] = "General";
inline constexpr char kProduct[] = "Quillory Radixpad";
inline constexpr char kString[] = "String";  // read with escape expansion
inline constexpr char kError[] = "Error";    // read as stored
}  // namespace sections

namespace keys {
// User settings file, section General: the converter.
inline constexpr char kRow1Base[] = "C1";
inline constexpr char kRow2Base[] = "C2";
inline constexpr char kRow3Base[] = "C3";
inline constexpr char kRow4Base[] = "C4";
inline constexpr char kBits[] = "Bits";
inline constexpr char kSigned[] = "Signed";
inline constexpr char kLastConvert[] = "LastConvert";
inline constexpr char kAutoCopy[] = "AutoCopy";
// The global show/hide key, Qt's portable text ("Ctrl+Alt+K"); none when missing or empty.
inline constexpr char kShowHideKey[] = "ShowHideKey";
inline constexpr char kGroupDigits[] = "GroupDigits";
// Shown panels (1 shown, anything else hidden) and the window's place.
inline constexpr char kBitGrid[] = "BitGrid";
inline constexpr char kFloatView[] = "FloatView";
inline constexpr char kCharView[] = "CharView";
inline constexpr char kX[] = "X";
inline constexpr char kY[] = "Y";

// Product section of the user settings file (-1: not set) and of the defaults file.
inline constexpr char kAlwaysOnTop[] = "AlwaysOnTop";
inline constexpr char kMinimizeToSystemTray[] = "MinimizeToSystemTray";
inline constexpr char kSnapToDesktopSide[] = "SnapToDesktopSide";

// Defaults file only.
inline constexpr char kTextColor[] = "TextColor";                  // product section
inline constexpr char kBackgroundColor[] = "BackgroundColor";      // product section
inline constexpr char kAllowRunOnStartup[] = "AllowRunOnStartup";  // section General

// Text file, section String.
inline constexpr char kMenuOptions[] = "Menu-Options";
inline constexpr char kMenuHelp[] = "Menu-Help";
inline constexpr char kMenuAbout[] = "Menu-About";
inline constexpr char kMenuRestore[] = "Menu-Restore";
inline constexpr char kMenuExit[] = "Menu-Exit";
inline constexpr char kOptionsCaption[] = "Options";
inline constexpr char kSetAlwaysOnTop[] = "SetAlwaysOnTop";
inline constexpr char kShowSystemTrayIcon[] = "ShowSystemTrayIcon";
inline constexpr char kAutoSnapWindow[] = "AutoSnapWindow";
inline constexpr char kRunOnStartUp[] = "RunOnStartUp";
inline constexpr char kBackgroundBitmap[] = "BackgroundBitmap";
inline constexpr char kShowBackgroundBitmap[] = "ShowBackgroundBitmap";
inline constexpr char kBackgroundBitmapFile[] = "BackgroundBitmapFile";
inline constexpr char kBitmapDisplayMethod[] = "BitmapDisplayMethod";
inline constexpr char kSelectBackgroundBitmap[] = "SelectBackgroundBitmap";
inline constexpr char kHelpPageNotShown[] = "HelpPageNotShown";  // %1: the help page's path

// Text file, section Error.
inline constexpr char kErrorNoImageFile[] = "1001";
// A save of the settings that could not be made; %1: the settings file.
inline constexpr char kErrorSaveBusy[] = "1013";
inline constexpr char kErrorSaveReadOnly[] = "1014";
inline constexpr char kErrorSaveNoFolder[] = "1015";
inline constexpr char kErrorSaveNotAFile[] = "1016";
inline constexpr char kErrorSaveNotRegular[] = "1017";
inline constexpr char kErrorSaveUnstorable[] = "1018";
inline constexpr char kErrorSaveFailed[] = "1019";

/// Every key of section String, for checks over the whole text file.
inline constexpr const char* kAllTextKeys[] = {
    kMenuOptions,
    kMenuHelp,
    kMenuAbout,
    kMenuRestore,
    kMenuExit,
    kOptionsCaption,
    kSetAlwaysOnTop,
    kShowSystemTrayIcon,
    kAutoSnapWindow,
    kRunOnStartUp,
    kBackgroundBitmap,
    kShowBackgroundBitmap,
    kBackgroundBitmapFile,
    kBitmapDisplayMethod,
    kSelectBackgroundBitmap,
    kHelpPageNotShown,
};
}  // namespace keys

}  // namespace radixpad
