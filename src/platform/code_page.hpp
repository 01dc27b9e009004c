// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace dorvan_marker {

// The narrow code page that marker text is written in, as far as names care: whether it
// is a multibyte one and which bytes begin a double-byte character.
class CodePage {
 public:
  enum class Kind {
    SingleByte,      // 1252 and every other one-byte set
    Utf8,            // multibyte; no DBCS lead bytes, so every byte is scanned on its own
    ShiftJis,        // 932: lead bytes 0x81-0x9F and 0xE0-0xFC
    Gbk,             // 936 (and GB18030): lead bytes 0x81-0xFE
    Uhc,             // 949: lead bytes 0x81-0xFE
    Big5,            // 950: lead bytes 0x81-0xFE
    OtherMultibyte,  // a multibyte set known only by the lead bytes the system gave
  };

  CodePage() = default;
  explicit CodePage(Kind kind);

  // A multibyte set as Windows describes it (CPINFO::LeadByte): pairs of first and last
  // lead byte, ended by a pair of zeros or by the end of the table. Sets that Kind names
  // keep their kind, so that Name() stays meaningful; any other number is OtherMultibyte.
  // A table without ranges falls back to the ranges the kind is known to have.
  static CodePage FromLeadByteRanges(unsigned number, const unsigned char* ranges, std::size_t size);

  // A single-byte set known by its Windows number (1252, 1251, ...).
  static CodePage SingleByte(unsigned number);

  // The system's ANSI code page, read once per process. On Windows from GetACP and
  // GetCPInfo; elsewhere the codeset of the user's default locale, read without changing
  // the process locale.
  static CodePage System();

  // From a codeset's name as a system gives it: "1252", "932", "utf-8", "cp932",
  // "shift_jis", "gbk", "big5", "ISO-8859-1", ... Unknown names give false.
  static bool FromName(std::string_view name, CodePage& out);

  // The code pages a caller may ask for, by their names: "1252", "932", "936", "949",
  // "950" and "utf-8", matched letter case aside, with "cp" before a number and "utf8"
  // allowed. Gives the name as listed and sets out; gives "" for any other name.
  static std::string_view Offered(std::string_view requested, CodePage& out);
  // Those names for a message: "1252, 932, 936, 949, 950 or utf-8".
  static std::string OfferedNames();

  Kind kind() const noexcept { return kind_; }
  bool IsMultibyte() const noexcept { return kind_ != Kind::SingleByte; }
  bool IsLeadByte(unsigned char byte) const noexcept { return (lead_[byte / 64] >> (byte % 64)) & 1U; }
  std::string Name() const;
  // The Windows number of the code page (65001 for UTF-8); 0 for a single-byte one known
  // by no number (a locale's codeset such as ISO-8859-1).
  unsigned Number() const noexcept;

  friend bool operator==(const CodePage& a, const CodePage& b) = default;

 private:
  void AddLeadBytes(unsigned first, unsigned last);

  Kind kind_ = Kind::SingleByte;
  unsigned number_ = 0;                  // the Windows number of an OtherMultibyte or a single-byte set, when known
  std::array<std::uint64_t, 4> lead_{};  // one bit per byte value
};

// text cut to at most max_bytes, never inside a double-byte character.
std::string CutToCharacters(std::string_view text, std::size_t max_bytes, CodePage code_page);

}  // namespace dorvan_marker
