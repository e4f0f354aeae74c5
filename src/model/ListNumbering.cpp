#include "model/ListNumbering.h"

#include <algorithm>

namespace pagora {

std::string NumberText(int n, TPGListType type) {
  switch (type) {
    case pglstDecimal:
    case pglstImageListCounter: return std::to_string(n);
    case pglstLowerAlpha:
    case pglstUpperAlpha: {
      if (n <= 0) return {};
      const char base = type == pglstLowerAlpha ? 'a' : 'A';
      std::string s;
      unsigned v = static_cast<unsigned>(n);
      while (v > 0) {
        s.insert(s.begin(), static_cast<char>(base + (v - 1) % 26));
        v = (v - 1) / 26;
      }
      return s;
    }
    case pglstLowerRoman:
    case pglstUpperRoman: {
      if (n <= 0) return "?";
      if (n > kMaxRomanNumber) return std::to_string(n);
      static const struct {
        int value;
        const char* text;
      } table[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
                   {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
      std::string s;
      for (const auto& t : table)
        while (n >= t.value) {
          s += t.text;
          n -= t.value;
        }
      if (type == pglstLowerRoman)
        for (char& c : s) c = static_cast<char>(c - 'A' + 'a');
      return s;
    }
    default: return {};
  }
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads digits at i (at most a few, so a long run cannot overflow).
int ReadNumber(const std::string& f, std::size_t& i) {
  int v = 0;
  while (i < f.size() && IsDigit(f[i])) {
    if (v < 100000) v = v * 10 + (f[i] - '0');
    ++i;
  }
  return v;
}

}  // namespace

std::string FormatMarkerString(const std::string& format, const TPGMarkerArguments& args) {
  std::string out;
  out.reserve(format.size() + 8);
  int next = 0;  // the argument a plain "%s" takes
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c != '%') {
      out.push_back(c);
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == '%') {
      out.push_back('%');
      ++i;
      continue;
    }
    // %[index:][-][width][.precision]s
    std::size_t j = i + 1;
    int index = next;
    if (j < format.size() && IsDigit(format[j])) {
      std::size_t k = j;
      const int n = ReadNumber(format, k);
      if (k < format.size() && format[k] == ':') {
        index = n;
        j = k + 1;
      }
    }
    bool left = false;
    if (j < format.size() && format[j] == '-') {
      left = true;
      ++j;
    }
    const int width = std::min(ReadNumber(format, j), 1024);  // a width from a file stays small
    int precision = -1;
    if (j < format.size() && format[j] == '.') {
      ++j;
      precision = ReadNumber(format, j);
    }
    if (j >= format.size() || (format[j] != 's' && format[j] != 'S')) {
      out.push_back('%');  // not a placeholder we fill: copy it as it stands
      continue;
    }
    std::string arg = index >= 0 && index < kMaxListLevels ? args[static_cast<std::size_t>(index)] : std::string();
    if (precision >= 0 && arg.size() > static_cast<std::size_t>(precision)) arg.resize(static_cast<std::size_t>(precision));
    const std::size_t pad = static_cast<std::size_t>(std::max(0, width - static_cast<int>(arg.size())));
    if (!left) out.append(pad, ' ');
    out += arg;
    if (left) out.append(pad, ' ');
    next = index + 1;
    i = j;
  }
  return out;
}

}  // namespace pagora
