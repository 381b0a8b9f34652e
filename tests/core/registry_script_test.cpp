#include "core/registry_script.h"

#include <gtest/gtest.h>

#include "core/text.h"

namespace ombrisk {
namespace {

RegistryData Bytes(std::uint32_t type, std::string bytes) { return RegistryData{type, std::move(bytes)}; }

// Every kind of before-state a backup holds.
RegistryScript EveryKind() {
  std::string binary;
  for (int byte = 0; byte < 100; ++byte) binary += static_cast<char>(byte * 7);
  const std::u16string keyBase = u"\\Software\\Embarcadero\\BDS\\15.0\\";
  return RegistryScript{u"日本語 \"P\" \\",
                        {ScriptKey{keyBase + u"Disabled Packages", true, {}},
                         ScriptKey{keyBase + u"Disabled Packages",
                                   false,
                                   {{u"C:\\Pkg\\\"q\".bpl", StringData(u"a \\ \" b")},
                                    {u"", StringData(u"")},
                                    {u"@", StringData(u"パッケージ 𠮷")},
                                    {u"gone", std::nullopt},
                                    {u"dword", Bytes(4, std::string("\x78\x56\x34\x12", 4))},
                                    {u"binary", Bytes(3, binary)},
                                    {u"expand", StringData(u"%PATH%;x", 2)},
                                    {u"lines", StringData(u"a\r\nb")},
                                    {u"odd", Bytes(1, "abc")},
                                    {u"unterminated", Bytes(1, std::string("a\0", 2) + "b")},
                                    {u"multi", Bytes(7, std::string("a\0\0\0\0\0", 6))},
                                    {u"none", Bytes(0, "")},
                                    {u"short dword", Bytes(4, "ab")}}},
                         ScriptKey{keyBase + u"Disabled Packages\\Empty", false, {}},
                         ScriptKey{keyBase + u"Form Design", false, {{u"Embedded Designer", std::nullopt}}},
                         ScriptKey{keyBase + u"Library\\Win64x", true, {}}}};
}

std::u16string Units(const std::string& bytes) {
  std::u16string units;
  for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
    units +=
        static_cast<char16_t>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8);
  }
  return units;
}

TEST(RegistryScript, EveryBeforeStateIsParsedBackAsItWasWritten) {
  const RegistryScript script = EveryKind();
  const std::optional<std::string> bytes = WriteRegistryScript(script);
  ASSERT_TRUE(bytes);
  const std::u16string text = Units(*bytes);
  EXPECT_TRUE(bytes->starts_with("\xFF\xFE")) << "UTF-16 with its byte-order mark";
  EXPECT_TRUE(text.starts_with(u"\uFEFFWindows Registry Editor Version 5.00\r\n\r\n"));
  for (std::u16string_view line : {
           u"\r\n[-HKEY_CURRENT_USER\\Software\\Embarcadero\\BDS\\15.0\\Disabled Packages]\r\n",
           u"\r\n\"C:\\\\Pkg\\\\\\\"q\\\".bpl\"=\"a \\\\ \\\" b\"\r\n",
           u"\r\n@=\"\"\r\n",
           u"\r\n\"@\"=\"パッケージ 𠮷\"\r\n",
           u"\r\n\"gone\"=-\r\n",
           u"\r\n\"dword\"=dword:12345678\r\n",
           u"\r\n\"expand\"=hex(2):25,00,50,00,",
           u"\r\n\"lines\"=hex(1):61,00,0d,00,0a,00,62,00,00,00\r\n",
           u"\r\n\"short dword\"=hex(4):61,62\r\n",
           u"\r\n\"none\"=hex(0):\r\n",
           u",\\\r\n  ",
       }) {
    EXPECT_NE(text.find(line), std::u16string::npos) << ToUtf8(line);
  }
  for (std::size_t from = 0, end; (end = text.find(u"\r\n", from)) != std::u16string::npos; from = end + 2) {
    EXPECT_LE(end - from, 80U) << "hexadecimal data wraps as the registry editor's does";
  }
  EXPECT_EQ(ParseRegistryScript(text), script);
  // Its beginning alone: the profile, the recorded key, the first key.
  RegistryScript recorded = script;
  recorded.key = u"\\Software\\Embarcadero\\BDS\\15.0";
  const std::optional<RegistryScript> head = ParseRegistryScriptHead(Units(*WriteRegistryScript(recorded)));
  ASSERT_TRUE(head);
  EXPECT_EQ(head->profile, script.profile);
  EXPECT_EQ(head->key, recorded.key);
  const ScriptKey first{script.keys.front().path, script.keys.front().removed, {}};
  EXPECT_EQ(head->keys, std::vector<ScriptKey>{first});

  EXPECT_FALSE(WriteRegistryScript(RegistryScript{u"", {ScriptKey{u"\\a\nb", false, {}}}}));
  EXPECT_FALSE(WriteRegistryScript(RegistryScript{u"", {ScriptKey{u"\\a", false, {{u"x\ry", std::nullopt}}}}}));
}

TEST(RegistryScript, AnythingButAnIntactScriptOfTheProgramIsRefused) {
  const std::u16string text = Units(*WriteRegistryScript(EveryKind()));
  const std::size_t check = text.rfind(u"; Ombrisk ");
  const auto replaced = [&](std::u16string_view from, std::u16string_view to) {
    std::u16string edited = text;
    edited.replace(edited.find(from), from.size(), to);
    return edited;
  };
  std::u16string lineFeeds;
  for (char16_t c : text) {
    if (c != u'\r') lineFeeds += c;
  }
  const std::u16string refused[] = {
      text.substr(1),                                         // no byte-order mark
      Concat({u"\uFFFE", text.substr(1)}),                    // big-endian
      Units(ToUtf8(text)),                                    // UTF-8
      text.substr(0, text.size() / 2),                        // cut in the middle
      text.substr(0, check),                                  // cut before the check line
      text.substr(0, text.size() - 2),                        // cut before the last line end
      replaced(u"dword:12345678", u"dword:12345679"),         // a value changed by hand
      replaced(u"\"gone\"=-\r\n", u""),                       // a line removed
      text + u"\r\n",                                         // anything after the check line
      text + u"[HKEY_CURRENT_USER\\Software\\Other]\r\n",     // a key added at the end
      lineFeeds,                                              // line feeds alone
      replaced(u"HKEY_CURRENT_USER", u"HKEY_LOCAL_MACHINE"),  // another root
      std::u16string(u"\uFEFF"),                              // empty
  };
  for (std::size_t row = 0; row < std::size(refused); ++row) {
    EXPECT_FALSE(ParseRegistryScript(refused[row])) << "row " << row;
  }
}

}  // namespace
}  // namespace ombrisk
