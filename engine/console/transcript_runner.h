// Replays a transcript of user actions against a converter and prints the rows.
#pragma once

#include <iosfwd>

namespace radixpad {

/// Runs every line of `in`; `show` lines print to `out`. Returns 0, or 2 after
/// printing "radixpad-console: line N: <reason>" to `err` for a malformed line
/// (everything before it has run).
int RunTranscript(std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace radixpad
