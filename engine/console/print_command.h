// `radixpad --print`: conversions in a terminal. Each value is pasted into the row
// its marker picks (or the one --base names) of a converter in the given width and
// mode, exactly as a paste into the window's row goes, and the four rows are printed.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace radixpad {

/// Exit statuses of --print.
inline constexpr int kPrintOk = 0;
inline constexpr int kPrintValueRefused = 1;  // a value could not be read or did not fit
inline constexpr int kPrintUsage = 2;

/// The row a value goes to without --base: "0b" Binary, "0o" Octal, "0x", "#" or a
/// trailing "h" Hexadecimal (either case, after white space at both ends, the wide
/// blanks a paste may bring included), else Decimal.
int BaseOfMarkedValue(const std::string& value);

/// Runs `radixpad --print ARGUMENTS...` (`arguments` are the words after --print):
/// writes the rows of every value that converted to `out`, a line for each refused
/// value and the usage to `err`, and returns the exit status. --help writes the usage
/// and --version `version` to `out` instead.
int RunPrintCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                    std::string_view version);

/// The usage text of --print, for `radixpad --help` too.
const char* PrintUsage();

}  // namespace radixpad
