#include <gtest/gtest.h>

#include "e2e/driver.h"

namespace {

struct Cp932Case {
  const wchar_t* text;
  std::string cp932;
};

TEST(E2eDriverText, Cp932RoundTripsJapaneseAndAscii) {
  // Byte values from the Shift-JIS code table.
  const Cp932Case cases[] = {
      {L"abc", "abc"},
      {L"説明", "\x90\xe0\x96\xbe"},
      {L"テスト", "\x83\x65\x83\x58\x83\x67"},
      {L"ｱ", "\xb1"},                 // half-width katakana is one byte
      {L"表", "\x95\x5c"},            // trail byte equals '\\'
      {L"①", "\x87\x40"},             // NEC special row
  };
  for (const auto& c : cases) {
    const std::string utf8 = e2e::toUtf8(c.text);
    EXPECT_EQ(e2e::utf8ToCp932(utf8), c.cp932) << utf8;
    EXPECT_EQ(e2e::cp932ToUtf8(c.cp932), utf8) << utf8;
    EXPECT_EQ(e2e::widen(c.cp932, e2e::kCp932), c.text) << utf8;
  }
}

TEST(E2eDriverText, Utf8ConversionKeepsSurrogatePairs) {
  const std::wstring text = L"a\U0001F600b";
  ASSERT_EQ(text.size(), 4u);
  EXPECT_EQ(e2e::toUtf8(text), "a\xF0\x9F\x98\x80" "b");
  EXPECT_EQ(e2e::fromUtf8("a\xF0\x9F\x98\x80" "b"), text);
  EXPECT_EQ(e2e::fromUtf8(""), L"");
}

TEST(E2eDriverText, HostPathsMapToDriveZ) {
  const struct {
    const char* host;
    const wchar_t* wine;
  } cases[] = {
      {"/work/main/build/win32/bin", L"Z:\\work\\main\\build\\win32\\bin"},
      {"/work/main/build/screenshots/", L"Z:\\work\\main\\build\\screenshots"},
      {"/", L"Z:\\"},
      {"/tmp/説明", L"Z:\\tmp\\説明"},
      {"C:/users", L"C:\\users"},
  };
  for (const auto& c : cases) EXPECT_EQ(e2e::hostToWinePath(c.host), c.wine) << c.host;
}

TEST(E2eDriverText, ArgumentsAreQuotedForCommandLineToArgv) {
  const struct {
    const wchar_t* arg;
    const wchar_t* quoted;
  } cases[] = {
      {L"plain", L"plain"},
      {L"", L"\"\""},
      {L"two words", L"\"two words\""},
      {L"C:\\dir with space\\", L"\"C:\\dir with space\\\\\""},
      {L"say \"hi\"", L"\"say \\\"hi\\\"\""},
      {L"a\\\\b c", L"\"a\\\\b c\""},
  };
  for (const auto& c : cases) EXPECT_EQ(e2e::quoteArgument(c.arg), c.quoted);
}

TEST(E2eDriverText, AcceleratorMarkersAreStripped) {
  EXPECT_EQ(e2e::stripAccelerator(L"はい(&Y)"), L"はい(Y)");
  EXPECT_EQ(e2e::stripAccelerator(L"&Save && Exit"), L"Save & Exit");
  EXPECT_EQ(e2e::stripAccelerator(L"OK"), L"OK");
  EXPECT_EQ(e2e::stripAccelerator(L"trailing&"), L"trailing");
}

TEST(E2eDriverText, FilesReadBackByteForByte) {
  e2e::ProgramFolder folder;
  ASSERT_FALSE(folder.path().empty());
  const std::string bytes("\0\x01\xff\r\nend", 7);
  ASSERT_TRUE(e2e::writeFileBytes(folder.file(L"data.bin"), bytes));
  bool ok = false;
  const auto back = e2e::readFileBytes(folder.file(L"data.bin"), &ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(std::string(back.begin(), back.end()), bytes);
  e2e::readFileBytes(folder.file(L"missing.bin"), &ok);
  EXPECT_FALSE(ok);
}

}  // namespace
