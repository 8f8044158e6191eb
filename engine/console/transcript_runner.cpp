#include "transcript_runner.h"

#include <charconv>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "char_view.h"
#include "float_view.h"
#include "radix_rules.h"
#include "simulated_controls.h"

namespace radixpad {

namespace {

// Words of a transcript line are parted by spaces and tabs only.
bool IsSpaceOrTab(char c) { return c == ' ' || c == '\t'; }

struct LineError {
  std::string what;
};

// Splits a line into its action word and the words after it, stopping at a
// "# comment". Used for every action that takes no TEXT.
std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsSpaceOrTab(line[i])) ++i;
    if (i >= line.size() || line[i] == '#') break;
    const std::size_t start = i;
    while (i < line.size() && !IsSpaceOrTab(line[i])) ++i;
    words.push_back(line.substr(start, i - start));
  }
  return words;
}

class CTranscript {
 public:
  explicit CTranscript(std::ostream& out) : out_(out) {}

  void Run(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && IsSpaceOrTab(line[i])) ++i;
    std::size_t end = i;
    while (end < line.size() && !IsSpaceOrTab(line[end])) ++end;
    const std::string_view action = line.substr(i, end - i);
    if (action == "type" || action == "paste" || action == "write") {
      RunTextAction(action, line.substr(end));
      return;
    }
    if (action == "float") {
      // "float TEXT": TEXT is everything after the single blank that follows the action.
      if (end == line.size()) throw LineError{"float takes a text"};
      sim_.Converter().SetFromFloatText(line.substr(end + 1));
      return;
    }
    const auto words = Words(line);
    if (action == "width") {
      Expect(words, 2, "width takes 8, 16, 32 or 64");
      const int index = WidthIndexOfBits(Number(words[1], "width takes 8, 16, 32 or 64"));
      if (index < 0) throw LineError{"width takes 8, 16, 32 or 64"};
      sim_.SelectWidth(index);
    } else if (action == "signed" || action == "unsigned") {
      Expect(words, 1, std::string(action) + " takes no argument");
      sim_.SelectSigned(action == "signed");
    } else if (action == "rowbase") {
      Expect(words, 3, "rowbase takes a row (1-4) and a base");
      const int row = Number(words[1], "rowbase takes a row (1-4) and a base");
      if (row < 1 || row > 4) throw LineError{"row must be 1 to 4"};
      sim_.SelectRowBase(row - 1, Base(words[2]));
    } else if (action == "home") {
      Expect(words, 2, "home takes a base");
      sim_.FieldOfBase(Base(words[1])).Home();
    } else if (action == "backspace") {
      if (words.size() != 2 && words.size() != 3) throw LineError{"backspace takes a base and an optional count"};
      const int base = Base(words[1]);
      const int count = words.size() == 3 ? Number(words[2], "backspace count must be a number") : 1;
      if (count < 0) throw LineError{"backspace count must not be negative"};
      for (int n = 0; n < count; ++n) sim_.FieldOfBase(base).Backspace();
    } else if (auto op = BitOperationOf(action)) {
      Expect(words, 1, std::string(action) + " takes no argument");
      sim_.Converter().RunBitOperation(*op);
    } else if (action == "flip") {
      Expect(words, 2, "flip takes a bit number, 0 to 63");
      const int bit = Number(words[1], "flip takes a bit number, 0 to 63");
      if (bit < 0 || bit > 63) throw LineError{"flip takes a bit number, 0 to 63"};
      sim_.Converter().FlipBit(bit);
    } else if (action == "floatview" || action == "charview") {
      const std::string usage = std::string(action) + " takes on or off";
      Expect(words, 2, usage);
      if (words[1] != "on" && words[1] != "off") throw LineError{usage};
      (action == "floatview" ? floatView_ : charView_) = words[1] == "on";
    } else if (action == "show") {
      Expect(words, 1, "show takes no argument");
      Show();
    } else {
      throw LineError{"unknown action '" + std::string(action) + "'"};
    }
  }

 private:
  static void Expect(const std::vector<std::string_view>& words, std::size_t count, const std::string& usage) {
    if (words.size() != count) throw LineError{usage};
  }

  static int Base(std::string_view word) {
    if (auto base = BaseOfWord(word)) return *base;
    throw LineError{"unknown base '" + std::string(word) + "' (bin, oct, dec or hex)"};
  }

  static int Number(std::string_view word, const std::string& usage) {
    int value = 0;
    const auto result = std::from_chars(word.data(), word.data() + word.size(), value);
    if (result.ec != std::errc() || result.ptr != word.data() + word.size()) throw LineError{usage};
    return value;
  }

  static std::optional<BitOperation> BitOperationOf(std::string_view action) {
    if (action == "shl") return BitOperation::kShiftLeft;
    if (action == "shr") return BitOperation::kShiftRight;
    if (action == "rol") return BitOperation::kRotateLeft;
    if (action == "ror") return BitOperation::kRotateRight;
    if (action == "inv") return BitOperation::kInvert;
    if (action == "swap") return BitOperation::kSwapBytes;
    return std::nullopt;
  }

  // "ACTION BASE TEXT": TEXT is everything after the single blank that follows BASE.
  void RunTextAction(std::string_view action, std::string_view rest) {
    std::size_t i = 0;
    while (i < rest.size() && IsSpaceOrTab(rest[i])) ++i;
    std::size_t end = i;
    while (end < rest.size() && !IsSpaceOrTab(rest[end])) ++end;
    if (i == end) throw LineError{std::string(action) + " takes a base and a text"};
    const int base = Base(rest.substr(i, end - i));
    const std::string_view text = end < rest.size() ? rest.substr(end + 1) : std::string_view();
    if (action == "type") {
      sim_.Type(base, text);
    } else if (action == "paste") {
      sim_.Paste(base, text);
    } else {
      sim_.Write(base, text);
    }
  }

  void Show() {
    CConverter& conv = sim_.Converter();
    for (int base = 0; base < kBaseCount; ++base) {
      out_ << (base ? " " : "") << kBaseWords[base] << '=' << sim_.TextOf(base);
    }
    out_ << " beeps=" << sim_.beeper.count - beepsShown_ << " last=" << kBaseWords[conv.LastConverted()]
         << " width=" << conv.Bits() << ' ' << (conv.SignedFlag() ? "signed" : "unsigned") << " rows=";
    for (int row = 0; row < 4; ++row) {
      out_ << (row ? "," : "") << kBaseWords[sim_.fields[static_cast<std::size_t>(row)].Base()];
    }
    out_ << '\n';
    if (floatView_) out_ << "float: " << FormatFloatLine(conv.FloatView()) << '\n';
    if (charView_) out_ << "char: " << FormatCharLine(conv.CharView()) << '\n';
    beepsShown_ = sim_.beeper.count;
  }

  std::ostream& out_;
  CSimulatedConverter sim_;
  int beepsShown_ = 0;
  bool floatView_ = false;
  bool charView_ = false;
};

bool IsSkipped(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && IsSpaceOrTab(line[i])) ++i;
  return i == line.size() || line[i] == '#';
}

}  // namespace

int RunTranscript(std::istream& in, std::ostream& out, std::ostream& err) {
  CTranscript transcript(out);
  std::string line;
  long number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (IsSkipped(line)) continue;
    try {
      transcript.Run(line);
    } catch (const LineError& e) {
      out.flush();
      err << "radixpad-console: line " << number << ": " << e.what << '\n';
      return 2;
    }
  }
  return 0;
}

}  // namespace radixpad
