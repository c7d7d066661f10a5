// The welcome window's decisions: which names are refused, where the link
// points, and what the message area says for each outcome.
#include <gtest/gtest.h>

#include "install/welcome_rules.h"

namespace {

using quibex::ShortcutNameProblem;
using quibex::ShortcutPlaces;

TEST(SetupRules, NamesTheShellCannotTakeAreRefusedBeforeControlCharacters) {
    struct Case {
        const wchar_t* name;
        ShortcutNameProblem expected;
    };
    const Case cases[] = {
        {L"書庫内のテキストを閲覧", ShortcutNameProblem::None}, {L"a b.c (1)", ShortcutNameProblem::None},
        {L"a:b", ShortcutNameProblem::ForbiddenCharacter},      {L"\\", ShortcutNameProblem::ForbiddenCharacter},
        {L"/", ShortcutNameProblem::ForbiddenCharacter},        {L"*", ShortcutNameProblem::ForbiddenCharacter},
        {L"?", ShortcutNameProblem::ForbiddenCharacter},        {L"\"", ShortcutNameProblem::ForbiddenCharacter},
        {L"<", ShortcutNameProblem::ForbiddenCharacter},        {L">", ShortcutNameProblem::ForbiddenCharacter},
        {L"|", ShortcutNameProblem::ForbiddenCharacter},        {L"a\tb", ShortcutNameProblem::ControlCharacter},
        {L"a\rb", ShortcutNameProblem::ControlCharacter},       {L"a\nb", ShortcutNameProblem::ControlCharacter},
        {L"a\t:b", ShortcutNameProblem::ForbiddenCharacter},
    };
    for (const Case& c : cases)
        EXPECT_EQ(quibex::CheckShortcutName(c.name), c.expected) << testing::PrintToString(c.name);
}

TEST(SetupRules, TheTargetIsQuibexExeOfTheFolderWithOneBackslash) {
    EXPECT_EQ(quibex::LinkTargetIn(L"C:\\Tools\\Q"), L"C:\\Tools\\Q\\Quibex.exe");
    EXPECT_EQ(quibex::LinkTargetIn(L"C:\\"), L"C:\\Quibex.exe");
    // Only a drive root keeps its own "\": a longer folder ending in one gets another.
    EXPECT_EQ(quibex::LinkTargetIn(L"C:\\Tools\\"), L"C:\\Tools\\\\Quibex.exe");
}

TEST(SetupRules, WelcomeIsFourParagraphs) {
    EXPECT_EQ(quibex::WelcomeText(),
              L"このメッセージは初めて起動されたときのみ表示されます。\r\n\r\n"
              L"Quibex はエクスプローラの右クリックメニューの「送る」や、デスクトップのショートカットに書庫ファイルを"
              L"ドロップして、書庫内のテキストファイルを直接閲覧するプログラムです。\r\n\r\n"
              L"ここではショートカットの作成しか行いませんが、同梱のツールを使用すれば右クリックメニュー内に直接項目を"
              L"追加することもできます。詳細はドキュメントをご覧ください。\r\n\r\n"
              L"Quibex のショートカットを作成しますか？");
}

TEST(SetupRules, ResultNamesThePlacesMadeAndThoseThatFailed) {
    const std::wstring next = L"\r\n\r\n次の画面で適当なオプションを選択して「OK」をクリックしてください。\r\n\r\n";
    const std::wstring bySendTo =
        L"Quibex を使用するにはエクスプローラで書庫ファイルを選択して右クリックメニューの「送る」→「名前」"
        L"をクリックするか、デスクトップのショートカットに書庫ファイルをドロップしてください。";
    const std::wstring byArgument = L"Quibex を使用するには書庫ファイルのフルパスを引数として起動してください。";
    struct Case {
        ShortcutPlaces created, failed;
        std::wstring expected;
    };
    const Case cases[] = {
        {{true, true},
         {},
         L"デスクトップと「送る」メニューに「名前」という名前でショートカットを作成しました。" + next + bySendTo},
        {{true, false}, {}, L"デスクトップに「名前」という名前でショートカットを作成しました。" + next + bySendTo},
        {{false, true}, {}, L"「送る」メニューに「名前」という名前でショートカットを作成しました。" + next + bySendTo},
        {{true, false},
         {false, true},
         L"デスクトップに「名前」という名前でショートカットを作成しました。\r\n"
         L"「送る」メニューに「名前」という名前のショートカットを作成できませんでした。" +
             next + bySendTo},
        {{},
         {true, true},
         L"デスクトップと「送る」メニューに「名前」という名前のショートカットを作成できませんでした。" + next +
             byArgument},
    };
    for (const Case& c : cases) EXPECT_EQ(quibex::ShortcutsResultText(L"名前", c.created, c.failed), c.expected);
}

TEST(SetupRules, DeclinedAndReplaceTexts) {
    EXPECT_EQ(quibex::DeclinedText(),
              L"「いいえ」が選択されたので Quibex のショートカットを作成しませんでした。\r\n\r\n"
              L"次の画面で適当なオプションを選択して「OK」をクリックしてください。\r\n\r\n"
              L"Quibex を使用するには書庫ファイルのフルパスを引数として起動してください。");
    EXPECT_EQ(quibex::ReplaceQuestion(L"名前", {false, true}),
              L"「送る」メニューに「名前」という名前のショートカットが既にあります。\r\n置き換えますか？");
}

}  // namespace
