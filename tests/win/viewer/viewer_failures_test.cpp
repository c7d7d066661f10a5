// Windows that cannot be made. The start-up then ends with a message instead
// of lingering as an invisible process that holds the instance mark, and a
// viewer that cannot make a text box says why in Japanese and empties the
// work folder.
#include <windows.h>

#include "app/startup.h"
#include "core/app_state.h"
#include "viewer/viewer_window.h"
#include "next_box.h"
#include "viewer_fixture.h"

using namespace quibex;

namespace {

// Refuses the creation of windows of one class after `allowed` of them.
class CreationRefused {
public:
    CreationRefused(const wchar_t* className, int allowed) {
        className_ = className;
        allowed_ = allowed;
        hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    }
    ~CreationRefused() { UnhookWindowsHookEx(hook_); }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp) {
        if (code == HCBT_CREATEWND) {
            const wchar_t* cls = reinterpret_cast<CBT_CREATEWNDW*>(lp)->lpcs->lpszClass;
            if (!IS_INTRESOURCE(cls) && _wcsicmp(cls, className_) == 0 && allowed_-- <= 0) return 1;
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    static inline const wchar_t* className_ = nullptr;
    static inline int allowed_ = 0;
    HHOOK hook_;
};

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

using ViewerFailures = ViewerTest;

TEST_F(ViewerFailures, NoViewerWindowEndsTheStartWithAMessage) {
    AddText(L"readme.txt", "extracted");
    StartResult result = StartResult::RunMessageLoop;
    std::wstring said;
    {
        CreationRefused refused(L"QuibexViewer", 0);
        NextBox box(IDOK);
        result = ReadDetectedArchive(archive);
        said = box.Text();
    }
    EXPECT_EQ(result, StartResult::Exit);
    EXPECT_EQ(said.rfind(L"ビューアのウィンドウを作成できませんでした。", 0), 0u) << "got: " << said.size();
    EXPECT_EQ(ViewerWindow(), nullptr);
    EXPECT_FALSE(Exists(work + L"readme.txt"));
}

TEST_F(ViewerFailures, TextBoxThatCannotBeMadeIsExplainedAndTheViewerCloses) {
    AddText(L"a.txt", "first");
    AddText(L"b.txt", "second");
    std::wstring said;
    {
        CreationRefused refused(L"RichEdit50W", 1);  // the first box, made with the window, only
        ASSERT_NE(LoadViewer(archive), nullptr);
        ShowViewerWindow();
        Pump();
        App().ViewerLoading = false;
        NextBox box(IDOK);
        BuildViewer({ReadVerdict::Found, {L"a.txt", L"b.txt"}, {}});
        said = box.Text();
    }
    EXPECT_EQ(said,
              L"書庫内のテキストを表示できませんでした。\r\n\r\n"
              L"システムリソースが不足している可能性があります。他のプログラムを終了してから、もう一度開いてください。");
    EXPECT_TRUE(PumpUntil([] { return ViewerWindow() == nullptr; }));
    EXPECT_FALSE(Exists(work + L"a.txt"));
}

}  // namespace
