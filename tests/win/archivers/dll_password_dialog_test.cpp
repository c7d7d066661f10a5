// UNZIP32.DLL asks for the password of encrypted members itself. The
// archives use WinZip AES, whose two check bytes let a wrong password through
// once in 65536 archives made, where the traditional header's one byte would
// once in 256. A second
// thread plays the user: it finds each question the library shows, records
// what it saw, and answers; the command runs on the test's own thread, which
// owns the windows, as in a viewer.
#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <set>
#include <thread>

#include "dll_fixture.h"

namespace dlltest {
namespace {

const std::wstring kCaption = L"パスワードの入力";
const std::string kPassword = "pass word";  // make_archives.sh
const std::set<std::string> kAllFlat = {"readme.txt", "NOTES.DOC", "info.me", "image.bin", "a.txt", "guide.chm"};

std::string extractCommand(const std::string& arc, const std::string& dir, const std::string& extra = "") {
    return "-x -j -o --i " + extra + "\"" + arc + "\" \"" + dir + "\"";
}

// What the user types: a password, or nothing and Cancel.
using Answer = std::optional<std::string>;

struct SeenQuestion {
    std::wstring question;
    bool wrongLineShown = false;
    bool ownedByCaller = false;
    bool aboveCover = false;  // higher in the Z order than the caller's topmost window
    bool foreground = false;
};

// The caller's windows: a visible owner, and over it a topmost window such
// as a please-wait window.
struct CallerWindows {
    HWND owner = CreateWindowExW(0, L"STATIC", L"viewer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 500, 400, nullptr,
                                 nullptr, nullptr, nullptr);
    HWND cover = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"please wait", WS_POPUP | WS_CAPTION | WS_VISIBLE, 150, 150,
                                 600, 300, owner, nullptr, nullptr, nullptr);
    ~CallerWindows() {
        DestroyWindow(cover);
        DestroyWindow(owner);
    }
};

struct QuestionSearch {
    HWND notThis, found = nullptr;
};

// WINAPI (stdcall in the 32-bit tree): no lambda can be given to EnumWindows there.
BOOL CALLBACK noteQuestion(HWND w, LPARAM lp) {
    auto* s = reinterpret_cast<QuestionSearch*>(lp);
    wchar_t text[64] = {}, cls[16] = {};
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (w == s->notThis || pid != GetCurrentProcessId() || !IsWindowVisible(w)) return TRUE;
    // Read without messages: the command's thread answers none until it shows a dialog.
    GetClassNameW(w, cls, static_cast<int>(std::size(cls)));
    InternalGetWindowText(w, text, static_cast<int>(std::size(text)));
    if (std::wstring(cls) != L"#32770" || kCaption != text) return TRUE;
    s->found = w;
    return FALSE;
}

HWND findQuestion(HWND notThis) {
    QuestionSearch f{notThis};
    EnumWindows(noteQuestion, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

bool above(HWND first, HWND second) {
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == first) return true;
        if (w == second) return false;
    }
    return false;
}

std::wstring itemText(HWND dialog, int id) {
    wchar_t text[512] = {};
    GetWindowTextW(GetDlgItem(dialog, id), text, static_cast<int>(std::size(text)));
    return text;
}

// Answers the questions in order, each once it is up; stops when the
// command has returned or a question does not come within a few seconds.
class User {
public:
    User(const CallerWindows& windows, std::vector<Answer> answers)
        : windows_(windows), answers_(std::move(answers)), thread_([this] { run(); }) {}
    ~User() { finish(); }
    User(const User&) = delete;
    User& operator=(const User&) = delete;
    // What the user saw, once the command has returned.
    std::vector<SeenQuestion> finish() {
        commandDone_ = true;
        if (thread_.joinable()) thread_.join();
        return seen_;
    }

private:
    void run() {
        HWND previous = nullptr;
        for (const Answer& a : answers_) {
            HWND dialog = nullptr;
            for (int i = 0; i < 400 && !dialog && !commandDone_; ++i) {
                // The next question is a new window once the last one has gone.
                if (!previous || !IsWindow(previous)) dialog = findQuestion(previous);
                if (!dialog) Sleep(25);
            }
            if (!dialog) return;
            SeenQuestion q;
            q.question = itemText(dialog, 1001);
            q.wrongLineShown = IsWindowVisible(GetDlgItem(dialog, 1002));
            q.ownedByCaller = GetWindow(dialog, GW_OWNER) == windows_.owner;
            q.aboveCover = above(dialog, windows_.cover);
            q.foreground = GetForegroundWindow() == dialog;
            seen_.push_back(q);
            if (a) SendMessageW(GetDlgItem(dialog, 1003), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(toWide(*a).c_str()));
            PostMessageW(dialog, WM_COMMAND, a ? IDOK : IDCANCEL, 0);
            previous = dialog;
        }
    }
    const CallerWindows& windows_;
    std::vector<Answer> answers_;
    std::vector<SeenQuestion> seen_;
    std::atomic<bool> commandDone_{false};
    std::thread thread_;
};

std::set<std::string> names(const TempFolder& f) {
    std::set<std::string> out;
    for (const auto& [name, contents] : f.files()) out.insert(name);
    return out;
}

int runOwned(HWND owner, const std::string& utf8Command) {
    char report[1024] = {};
    return library("zip").command(owner, toAnsi(toWide(utf8Command)).c_str(), report, sizeof report);
}

// 7zz stores the members sorted by name: NOTES.DOC comes first, then doc/a.txt.
const std::wstring kFirstQuestion = L"「NOTES.DOC」はパスワードで保護されています。\r\nパスワードを入力してください。";

TEST(DllPasswordDialog, WrongPasswordAsksAgainOnceForTheWholeArchive) {
    ASSERT_NE(library("zip").command, nullptr);
    for (const char* archive : {"enc_aes256_lzma.zip", "enc_aes192_bzip2.zip"}) {
        SCOPED_TRACE(archive);
        CallerWindows windows;
        TempFolder out;
        User user(windows, {"wrong", kPassword});
        int result = runOwned(windows.owner, extractCommand(archivePath(archive), out.path()));
        std::vector<SeenQuestion> seen = user.finish();
        EXPECT_EQ(result, 0);
        EXPECT_EQ(names(out), kAllFlat);
        EXPECT_EQ(out.files()["info.me"], "Read me too\r\n");
        ASSERT_EQ(seen.size(), 2u) << "one question, one repeat, then the password opens every member";
        EXPECT_EQ(seen[0].question, kFirstQuestion);
        EXPECT_FALSE(seen[0].wrongLineShown);
        EXPECT_TRUE(seen[1].wrongLineShown);
        for (const SeenQuestion& q : seen) {
            EXPECT_TRUE(q.ownedByCaller);
            EXPECT_TRUE(q.aboveCover) << "the question comes up over the caller's topmost window";
            EXPECT_TRUE(q.foreground);
        }
    }
}

TEST(DllPasswordDialog, CancelSkipsThatMemberAndTheOthersAreRead) {
    CallerWindows windows;
    TempFolder out;
    User user(windows, {std::nullopt, kPassword});
    int result = runOwned(windows.owner, extractCommand(archivePath("enc_aes128_deflate.zip"), out.path()));
    std::vector<SeenQuestion> seen = user.finish();
    EXPECT_EQ(result, 0x8020);
    std::set<std::string> others = kAllFlat;
    others.erase("NOTES.DOC");
    EXPECT_EQ(names(out), others) << "nothing of the skipped member, not even a temporary file";
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].question, kFirstQuestion);
    EXPECT_EQ(seen[1].question.find(L"「doc/a.txt」"), 0u) << "the next member is asked for afresh";
    EXPECT_FALSE(seen[1].wrongLineShown);
}

TEST(DllPasswordDialog, NoQuestionWithAPasswordSwitchOrWithoutAnOwner) {
    const struct {
        bool owned;
        const char* switches;
        int result;
        size_t files;
    } cases[] = {
        {true, "-P \"pass word\" ", 0, kAllFlat.size()},
        {true, "-P wrong ", 0x800A, 0},
        {false, "", 0x800A, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.switches) + (c.owned ? "owned" : "no owner"));
        CallerWindows windows;
        TempFolder out;
        User user(windows, {std::nullopt});
        int result = runOwned(c.owned ? windows.owner : nullptr,
                              extractCommand(archivePath("enc_aes256_copy.zip"), out.path(), c.switches));
        EXPECT_TRUE(user.finish().empty()) << "no question was shown";
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(out.files().size(), c.files);
    }
}

}  // namespace
}  // namespace dlltest
