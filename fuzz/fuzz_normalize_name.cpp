// SPDX-License-Identifier: MIT
// NormalizeName under every code page: the first byte chooses it, the rest is the name.
// Beside the sanitizers it checks what the host relies on: the length is kept, a
// double-byte character passes whole, every other byte becomes a name character, and the
// name never begins with '-'.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "marker/normalize_name.hpp"
#include "platform/code_page.hpp"

namespace {

using dorvan_marker::CodePage;

constexpr CodePage::Kind kKinds[] = {CodePage::Kind::SingleByte, CodePage::Kind::Utf8, CodePage::Kind::ShiftJis,
                                     CodePage::Kind::Gbk,        CodePage::Kind::Uhc,  CodePage::Kind::Big5};

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

void CheckName(std::string_view in, const std::string& out, CodePage code_page) {
  Check(out.size() == in.size());
  for (std::size_t i = 0; i < in.size(); ++i) {
    const auto byte = static_cast<unsigned char>(in[i]);
    if (code_page.IsLeadByte(byte)) {
      Check(out[i] == in[i] || (i == 0 && out[i] == 'X'));
      if (i + 1 < in.size()) Check(out[i + 1] == in[i + 1]);
      ++i;
      continue;
    }
    const auto result = static_cast<unsigned char>(out[i]);
    Check(dorvan_marker::IsNameChar(result, code_page) || (i == 0 && result == 'X'));
    Check(!(result >= 'a' && result <= 'z'));
  }
  Check(out.empty() || out.front() != '-');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const CodePage code_page(kKinds[data[0] % (sizeof kKinds / sizeof kKinds[0])]);
  const std::string_view name(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string normal = dorvan_marker::NormalizeName(name, code_page);
  CheckName(name, normal, code_page);
  // Normalising twice changes nothing more: the host may normalise what it gets back.
  Check(dorvan_marker::NormalizeName(normal, code_page) == normal);
  const std::string cut = dorvan_marker::CutToCharacters(name, 255, code_page);
  Check(cut.size() <= 255 && name.substr(0, cut.size()) == cut);
  return 0;
}
