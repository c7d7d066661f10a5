// Settings against the real profile API: what lands in the file, byte for byte.
#include <gtest/gtest.h>
#include <windows.h>

#include "core/settings.h"
#include "core/win_profile_store.h"
#include "test_folder.h"

namespace {

TEST(WinSettings, FirstRunFileHoldsExactlyTheStartingKeysInShiftJis) {
    TestFolder dir(L"qx-firstrun");
    quibex::WinProfileStore ini(dir.file(L"Quibex.ini"));
    quibex::WriteFirstRunDefaults(ini);
    std::string expected =
        "[Option]\r\nAllText=1\r\nNoText=0\r\nOpenMax=5\r\nProgress=0\r\nInitDialog=1\r\nArcSelect=0\r\n"
        "ArcAplPath=\r\nTxtEdtPath=\r\nPrtToolPath=\r\nPrtToolParam=\r\nParamAfterFile=\r\nPrtConfirm=\r\n"
        "TxtType=\r\nDocType=HLP DOC HTM HTML CHM\r\nShellExecOpen=0\r\n"
        "[Viewer]\r\nInsideViewer=1\r\nMultiRow=0\r\nHighLightTab=1\r\nNoExt=0\r\nTabName=0\r\nNotToolbar=0\r\n"
        "StartUpPos=1\r\nStartUpSize=1\r\nReadmeFirst=1\r\nTextLoadMode=1\r\nHiperLink=0\r\nHiperLinkConfirm=0\r\n"
        "ExitAfterOpen=0\r\nShortCutKey=111110111\r\nTabPos=1\r\nBackColor=-2147483643\r\nTextColor=-2147483640\r\n"
        "FontName=\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e\r\nFontSize=9\r\n"
        "Back1IconPath=\r\nBack2IconPath=\r\nForward1IconPath=\r\nForward2IconPath=\r\nText1IconPath=\r\n"
        "Text2IconPath=\r\nPrint1IconPath=\r\nPrint2IconPath=\r\nOpen1IconPath=\r\nOpen2IconPath=\r\n"
        "Exit1IconPath=\r\nExit2IconPath=\r\nSearch1IconPath=\r\nSearch2IconPath=\r\nHotImage=0\r\n";
    // The profile API separates sections with a blank line on some versions; compare without it.
    std::string actual = ReadBytes(dir.file(L"Quibex.ini"));
    for (size_t p; (p = actual.find("\r\n\r\n")) != std::string::npos;) actual.erase(p, 2);
    EXPECT_EQ(actual, expected);

    quibex::Settings s;
    quibex::LoadSettings(ini, s);
    EXPECT_EQ(s.FontName, L"ＭＳ ゴシック");
    EXPECT_EQ(s.PrtConfirm, 1);
    EXPECT_EQ(s.ParamAfterFile, 0);
    EXPECT_EQ(s.BackColor, static_cast<int32_t>(0x80000005u));
}

TEST(WinSettings, LegacyKeysAreMigratedInTheFile) {
    TestFolder dir(L"qx-legacy");
    std::wstring path = dir.file(L"Quibex.ini");
    WriteBytes(path, "[Option]\r\nOption1=0\r\nOption3=3\r\n[Viewer]\r\nShortCutKey=010101\r\nOpenMax=0\r\n");
    quibex::WinProfileStore ini(path);
    quibex::Settings s;
    quibex::LoadSettings(ini, s);
    EXPECT_EQ(s.AllText, 0);
    EXPECT_EQ(s.NoText, 1);
    EXPECT_EQ(s.ShortCutKey, L"111010101");
    std::string text = ReadBytes(path);
    EXPECT_EQ(text.find("Option1"), std::string::npos) << text;
    EXPECT_EQ(text.find("Option3"), std::string::npos) << text;
    EXPECT_NE(text.find("AllText=0"), std::string::npos) << text;
    EXPECT_NE(text.find("NoText=1"), std::string::npos) << text;
    // Loading never writes normalised values back.
    EXPECT_NE(text.find("ShortCutKey=010101"), std::string::npos) << text;
}

TEST(WinSettings, AbsurdValuesLoadTheirBoundsAndMissingFileLoadsDefaults) {
    TestFolder dir(L"qx-absurd");
    std::wstring path = dir.file(L"Quibex.ini");
    WriteBytes(path, "[Option]\r\nOpenMax=99999999999\r\nNoText=abc\r\n[Viewer]\r\nFontSize=-5\r\nTabName=x\r\n"
                     "FontName=   \r\nWindowState=1\r\n");
    quibex::WinProfileStore ini(path);
    quibex::Settings s;
    quibex::LoadSettings(ini, s);
    EXPECT_EQ(s.OpenMax, 10);
    EXPECT_EQ(s.NoText, 0);
    EXPECT_EQ(s.FontSize, 8);
    EXPECT_EQ(s.TabName, 0);
    EXPECT_EQ(s.FontName, L"");

    quibex::WinProfileStore missing(dir.file(L"none\\Quibex.ini"));
    quibex::Settings d;
    quibex::LoadSettings(missing, d);
    EXPECT_EQ(d.DocType, L"HLP DOC HTM HTML CHM");
    EXPECT_EQ(d.OpenMax, 5);
    quibex::SaveSettings(missing, d);  // an unwritable place is ignored, not fatal
}

TEST(WinSettings, SaveWritesPlainDecimalAndKeepsJapaneseInShiftJis) {
    TestFolder dir(L"qx-save");
    quibex::WinProfileStore ini(dir.file(L"Quibex.ini"));
    quibex::Settings s;
    s.TxtType = L"DOC ME";
    s.ArcAplPath = L"C:\\ツール\\解凍.exe";
    quibex::SaveSettings(ini, s);
    std::string text = ReadBytes(dir.file(L"Quibex.ini"));
    EXPECT_NE(text.find("BackColor=-2147483643\r\n"), std::string::npos);
    EXPECT_NE(text.find("ArcAplPath=C:\\\x83\x63\x81\x5b\x83\x8b\\\x89\xf0\x93\x80.exe\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("TxtType=DOC ME\r\n"), std::string::npos);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text[0], '[');  // no byte-order mark in front
}

}  // namespace
