// SPDX-License-Identifier: MIT
#include "platform/code_page.hpp"

#include <algorithm>
#include <cctype>
#include <iterator>

#if defined(_WIN32)
#  include <windows.h>
#else
#  include <langinfo.h>
#  include <locale.h>
#endif

namespace dorvan_marker {
namespace {

std::string Simplify(std::string_view name) {
  std::string out;
  for (char c : name) {
    if (c == '-' || c == '_' || c == ' ') continue;
    out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  if (out.rfind("cp", 0) == 0) out.erase(0, 2);
  if (out.rfind("windows", 0) == 0) out.erase(0, 7);
  return out;
}

// The sets Kind names, by their Windows number; every other multibyte number is one the
// system alone knows.
CodePage::Kind KindOfNumber(unsigned number) {
  switch (number) {
    case 932: return CodePage::Kind::ShiftJis;
    case 936:
    case 54936: return CodePage::Kind::Gbk;
    case 949: return CodePage::Kind::Uhc;
    case 950: return CodePage::Kind::Big5;
    case 65001: return CodePage::Kind::Utf8;
    default: return CodePage::Kind::OtherMultibyte;
  }
}

// The code pages a caller may name: one table for every face of the library.
struct OfferedCodePage {
  std::string_view name;
  CodePage::Kind kind;
  unsigned number;  // of a single-byte set
};
constexpr OfferedCodePage kOffered[] = {
    {"1252", CodePage::Kind::SingleByte, 1252},
    {"932", CodePage::Kind::ShiftJis, 0},
    {"936", CodePage::Kind::Gbk, 0},
    {"949", CodePage::Kind::Uhc, 0},
    {"950", CodePage::Kind::Big5, 0},
    {"utf-8", CodePage::Kind::Utf8, 0},
};

CodePage ReadSystemCodePage() {
#if defined(_WIN32)
  const UINT acp = GetACP();
  CPINFO info{};
  if (!GetCPInfo(acp, &info) || info.MaxCharSize <= 1) return CodePage::SingleByte(acp);
  return CodePage::FromLeadByteRanges(acp, info.LeadByte, MAX_LEADBYTES);
#else
  locale_t user = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
  if (user == static_cast<locale_t>(0)) return CodePage();
  const char* codeset = nl_langinfo_l(CODESET, user);
  CodePage result;  // a codeset not known as multibyte is a single-byte one
  if (codeset != nullptr && !CodePage::FromName(codeset, result)) result = CodePage();
  freelocale(user);
  return result;
#endif
}

}  // namespace

CodePage::CodePage(Kind kind) : kind_(kind) {
  switch (kind) {
    case Kind::ShiftJis:
      AddLeadBytes(0x81, 0x9F);
      AddLeadBytes(0xE0, 0xFC);
      break;
    case Kind::Gbk:
    case Kind::Uhc:
    case Kind::Big5: AddLeadBytes(0x81, 0xFE); break;
    case Kind::SingleByte:
    case Kind::Utf8:
    case Kind::OtherMultibyte: break;
  }
}

CodePage CodePage::SingleByte(unsigned number) {
  CodePage page;
  page.number_ = number;
  return page;
}

CodePage CodePage::FromLeadByteRanges(unsigned number, const unsigned char* ranges, std::size_t size) {
  CodePage page;
  page.kind_ = KindOfNumber(number);
  if (page.kind_ == Kind::OtherMultibyte) page.number_ = number;
  for (std::size_t i = 0; ranges != nullptr && i + 1 < size && (ranges[i] != 0 || ranges[i + 1] != 0); i += 2) {
    page.AddLeadBytes(ranges[i], ranges[i + 1]);
  }
  if (page.lead_ == decltype(page.lead_){}) page.lead_ = CodePage(page.kind_).lead_;
  return page;
}

void CodePage::AddLeadBytes(unsigned first, unsigned last) {
  for (unsigned byte = first; byte <= last && byte <= 0xFF; ++byte) lead_[byte / 64] |= std::uint64_t{1} << (byte % 64);
}

CodePage CodePage::System() {
  static const CodePage system = ReadSystemCodePage();
  return system;
}

bool CodePage::FromName(std::string_view name, CodePage& out) {
  const std::string key = Simplify(name);
  if (key == "utf8" || key == "65001") {
    out = CodePage(Kind::Utf8);
    return true;
  }
  if (key == "932" || key == "shiftjis" || key == "sjis" || key == "mskanji" || key == "31j") {
    out = CodePage(Kind::ShiftJis);
    return true;
  }
  if (key == "936" || key == "gbk" || key == "gb2312" || key == "gb18030" || key == "54936") {
    out = CodePage(Kind::Gbk);
    return true;
  }
  if (key == "949" || key == "euckr" || key == "uhc") {
    out = CodePage(Kind::Uhc);
    return true;
  }
  if (key == "950" || key == "big5" || key == "big5hkscs") {
    out = CodePage(Kind::Big5);
    return true;
  }
  // The single-byte sets: a code page number, the ISO 8859 parts, ASCII and KOI8.
  const bool number = !key.empty() && key.size() <= 5 &&
                      std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (number) {
    out = SingleByte(static_cast<unsigned>(std::stoul(key)));
    return true;
  }
  if (key.rfind("iso8859", 0) == 0 || key.rfind("latin", 0) == 0 || key.rfind("koi8", 0) == 0 || key == "ascii" ||
      key == "usascii" || key == "ansix3.41968" || key == "posix" || key == "c") {
    out = CodePage(Kind::SingleByte);
    return true;
  }
  return false;
}

std::string_view CodePage::Offered(std::string_view requested, CodePage& out) {
  std::string key;
  for (const char c : requested) key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (key.rfind("cp", 0) == 0) key.erase(0, 2);
  if (key == "utf8") key = "utf-8";
  for (const OfferedCodePage& offered : kOffered) {
    if (key != offered.name) continue;
    out = offered.kind == Kind::SingleByte ? SingleByte(offered.number) : CodePage(offered.kind);
    return offered.name;
  }
  return {};
}

std::string CodePage::OfferedNames() {
  std::string names;
  for (std::size_t i = 0; i < std::size(kOffered); ++i) {
    names += i == 0 ? "" : i + 1 == std::size(kOffered) ? " or " : ", ";
    names += kOffered[i].name;
  }
  return names;
}

std::string CodePage::Name() const {
  switch (kind_) {
    case Kind::SingleByte: return "single-byte";
    case Kind::Utf8: return "utf-8";
    case Kind::ShiftJis: return "932";
    case Kind::Gbk: return "936";
    case Kind::Uhc: return "949";
    case Kind::Big5: return "950";
    case Kind::OtherMultibyte: return std::to_string(number_);
  }
  return "single-byte";
}

unsigned CodePage::Number() const noexcept {
  switch (kind_) {
    case Kind::Utf8: return 65001;
    case Kind::ShiftJis: return 932;
    case Kind::Gbk: return 936;
    case Kind::Uhc: return 949;
    case Kind::Big5: return 950;
    case Kind::SingleByte:
    case Kind::OtherMultibyte: break;
  }
  return number_;
}

std::string CutToCharacters(std::string_view text, std::size_t max_bytes, CodePage code_page) {
  if (text.size() <= max_bytes) return std::string(text);
  std::size_t end = 0;
  while (end < max_bytes) {
    const auto byte = static_cast<unsigned char>(text[end]);
    std::size_t width = 1;
    if (code_page.IsLeadByte(byte)) {
      width = 2;
    } else if (code_page.kind() == CodePage::Kind::Utf8 && byte >= 0xC0) {
      width = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
    }
    if (end + width > max_bytes) break;
    end += width;
  }
  return std::string(text.substr(0, end));
}

}  // namespace dorvan_marker
