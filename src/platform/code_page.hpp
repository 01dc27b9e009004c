// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace dorvan_marker {

// The narrow code page that marker text is written in, as far as names care: whether it
// is a multibyte one and which bytes begin a double-byte character.
class CodePage {
 public:
  enum class Kind {
    SingleByte,  // 1252 and every other one-byte set
    Utf8,        // multibyte; no DBCS lead bytes, so every byte is scanned on its own
    ShiftJis,    // 932: lead bytes 0x81-0x9F and 0xE0-0xFC
    Gbk,         // 936 (and GB18030): lead bytes 0x81-0xFE
    Uhc,         // 949: lead bytes 0x81-0xFE
    Big5,        // 950: lead bytes 0x81-0xFE
  };

  constexpr CodePage() = default;
  constexpr explicit CodePage(Kind kind) : kind_(kind) {}

  // The system's ANSI code page, read once per process. On Windows from GetACP and
  // GetCPInfo; elsewhere the codeset of the user's default locale, read without changing
  // the process locale.
  static CodePage System();

  // From a name given by a user: "1252", "932", "936", "949", "950", "utf-8", "cp932",
  // "shift_jis", "gbk", "big5", ... Unknown names give false.
  static bool FromName(std::string_view name, CodePage& out);

  Kind kind() const noexcept { return kind_; }
  bool IsMultibyte() const noexcept { return kind_ != Kind::SingleByte; }
  bool IsLeadByte(unsigned char byte) const noexcept;
  std::string Name() const;

  friend bool operator==(CodePage a, CodePage b) { return a.kind_ == b.kind_; }

 private:
  Kind kind_ = Kind::SingleByte;
};

// text cut to at most max_bytes, never inside a double-byte character.
std::string CutToCharacters(std::string_view text, std::size_t max_bytes, CodePage code_page);

}  // namespace dorvan_marker
