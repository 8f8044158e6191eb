#include "print_command.h"

#include <optional>
#include <ostream>
#include <sstream>
#include <string_view>

#include "digit_filter.h"
#include "radix_rules.h"
#include "simulated_controls.h"

namespace radixpad {

namespace {

constexpr std::string_view kJsonNames[] = {"binary", "octal", "decimal", "hexadecimal"};

struct PrintOptions {
  int widthIndex = 2;  // 32 bits
  bool isSigned = true;
  std::optional<int> base;
  bool json = false;
  std::vector<std::string> values;
};

struct UsageError {
  std::string what;
};

// --help or --version, which answer instead of converting.
struct Answer {
  bool version = false;
};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

PrintOptions ParseOptions(const std::vector<std::string>& arguments) {
  PrintOptions options;
  bool valuesOnly = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    if (valuesOnly || word.size() < 2 || word.compare(0, 2, "--") != 0) {
      options.values.push_back(word);
      continue;
    }
    if (word == "--") {
      valuesOnly = true;
      continue;
    }
    if (word == "--help" || word == "--version") throw Answer{word == "--version"};
    // "--name value" or "--name=value" for the options that take one.
    std::string name = word;
    std::optional<std::string> value;
    if (const auto equals = word.find('='); equals != std::string::npos) {
      name = word.substr(0, equals);
      value = word.substr(equals + 1);
    }
    const auto takeValue = [&]() -> std::string {
      if (value) return *value;
      if (i + 1 >= arguments.size()) throw UsageError{name + " needs a value"};
      return arguments[++i];
    };
    if (name == "--width") {
      const std::string bits = takeValue();
      const int index = bits == "8" ? 0 : bits == "16" ? 1 : bits == "32" ? 2 : bits == "64" ? 3 : -1;
      if (index < 0) throw UsageError{"--width takes 8, 16, 32 or 64, not '" + bits + "'"};
      options.widthIndex = index;
    } else if (name == "--base") {
      const std::string base = takeValue();
      options.base = BaseOfWord(base);
      if (!options.base) throw UsageError{"--base takes bin, oct, dec or hex, not '" + base + "'"};
    } else if ((name == "--signed" || name == "--unsigned" || name == "--json") && !value) {
      if (name == "--json") {
        options.json = true;
      } else {
        options.isSigned = name == "--signed";
      }
    } else {
      throw UsageError{"unknown option '" + word + "'"};
    }
  }
  if (options.values.empty()) throw UsageError{"no VALUE to convert"};
  return options;
}

// A JSON string: ASCII only, anything else escaped.
std::string JsonString(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  // Reads UTF-8 as code points; a byte that does not start a valid sequence stands
  // for itself (U+0080 to U+00FF), so the output is always valid JSON.
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    char32_t code = byte;
    std::size_t length = 1;
    if (byte >= 0xC0) {
      const std::size_t want = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
      char32_t value = byte & (0x3F >> (want - 1));
      bool valid = i + want <= text.size();
      for (std::size_t k = 1; valid && k < want; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        valid = (next & 0xC0) == 0x80;
        value = (value << 6) | (next & 0x3F);
      }
      if (valid && value <= 0x10FFFF) {
        code = value;
        length = want;
      }
    }
    i += length;
    if (code == '"' || code == '\\') {
      out.push_back('\\');
      out.push_back(static_cast<char>(code));
    } else if (code >= 0x20 && code < 0x7F) {
      out.push_back(static_cast<char>(code));
    } else {
      const auto unit = [&out](char32_t u) {
        out += "\\u";
        for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kHex[(u >> shift) & 0xF]);
      };
      if (code >= 0x10000) {
        unit(0xD800 + ((code - 0x10000) >> 10));
        unit(0xDC00 + ((code - 0x10000) & 0x3FF));
      } else {
        unit(code);
      }
    }
  }
  out.push_back('"');
  return out;
}

std::string ModeText(const PrintOptions& options) {
  return std::to_string(WidthBits(options.widthIndex)) + " bits " + (options.isSigned ? "signed" : "unsigned");
}

// Converts one value; false (after a line on `err`) when it was refused.
bool PrintValue(const PrintOptions& options, const std::string& value, std::ostream& out, std::ostream& err) {
  const int base = options.base ? *options.base : BaseOfMarkedValue(value);
  CSimulatedConverter sim;
  sim.SelectWidth(options.widthIndex);
  sim.SelectSigned(options.isSigned);
  const int beepsBefore = sim.beeper.count;
  const PasteResult pasted = sim.Paste(base, value);
  const std::string row = kBaseNames[base];
  const std::string digits = sim.TextOf(base);
  // A paste refused as too long, or one the conversion answered with a beep (a value
  // out of range), does not fit; one with no digits, or other characters, cannot be read.
  if (pasted == PasteResult::kTooLong || (pasted == PasteResult::kAccepted && sim.beeper.count != beepsBefore)) {
    err << "radixpad: '" << value << "' does not fit " << row << " at " << ModeText(options) << '\n';
    return false;
  }
  if (pasted != PasteResult::kAccepted || digits.empty()) {
    err << "radixpad: '" << value << "' cannot be read as " << row << " at " << ModeText(options) << '\n';
    return false;
  }
  if (options.json) {
    out << "{\"input\": " << JsonString(value) << ", \"width\": " << WidthBits(options.widthIndex)
        << ", \"signed\": " << (options.isSigned ? "true" : "false");
    for (int b = 0; b < kBaseCount; ++b) out << ", \"" << kJsonNames[b] << "\": " << JsonString(sim.TextOf(b));
    // The float and character views, in English; no float at a width without a format.
    const FloatDescription floatView = sim.Converter().FloatView();
    out << ", \"float\": " << (floatView.HasFormat() ? FloatViewJson(floatView) : "null")
        << ", \"char\": " << JsonString(FormatCharLine(sim.Converter().CharView())) << "}\n";
  } else {
    for (int b = 0; b < kBaseCount; ++b) out << kBaseNames[b] << '\t' << sim.TextOf(b) << '\n';
  }
  return true;
}

}  // namespace

int BaseOfMarkedValue(const std::string& value) {
  const std::string plain = PlainBlanks(value);
  const std::string_view v = TrimBlanks(plain);
  if (v.size() >= 2 && v[0] == '0') {
    switch (Lower(v[1])) {
      case 'b':
        return kBinary;
      case 'o':
        return kOctal;
      case 'x':
        return kHexadecimal;
      default:
        break;
    }
  }
  if (!v.empty() && (v.front() == '#' || Lower(v.back()) == 'h')) return kHexadecimal;
  return kDecimal;
}

const char* PrintUsage() {
  return "Usage: radixpad --print [--width 8|16|32|64] [--signed|--unsigned]\n"
         "                        [--base bin|oct|dec|hex] [--json] [--] VALUE...\n"
         "Prints each VALUE in Binary, Octal, Decimal and Hexadecimal, as the window's rows\n"
         "show it after a paste into the row of its base (default: 32 bits, signed). Without\n"
         "--base, 0b, 0o, 0x, # or a trailing h picks the row, else Decimal.\n";
}

int RunPrintCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                    std::string_view version) {
  PrintOptions options;
  try {
    options = ParseOptions(arguments);
  } catch (const UsageError& e) {
    err << "radixpad: " << e.what << '\n' << PrintUsage();
    return kPrintUsage;
  } catch (const Answer& answer) {
    if (answer.version) {
      out << "radixpad " << version << '\n';
    } else {
      out << PrintUsage();
    }
    return kPrintOk;
  }
  int status = kPrintOk;
  bool first = true;
  for (const std::string& value : options.values) {
    std::ostringstream rows;
    if (!PrintValue(options, value, rows, err)) {
      status = kPrintValueRefused;
      continue;
    }
    if (!first && !options.json) out << '\n';
    out << rows.str();
    first = false;
  }
  out.flush();
  return status;
}

}  // namespace radixpad
