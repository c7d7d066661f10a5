#include "password_dialog.h"

#include "ansi.h"
#include "library_texts.h"
#include "password_dialog_ids.h"
#include "this_module.h"

namespace arcdll {

namespace {

void wipe(std::wstring& s) {
    SecureZeroMemory(s.data(), s.size() * sizeof(wchar_t));
    s.clear();
}

// One showing of the dialog. Attached at WM_INITDIALOG; nothing thrown
// leaves the dialog procedure.
class PasswordQuestion {
public:
    PasswordQuestion(std::wstring member, bool wrongBefore) : member_(std::move(member)), wrongBefore_(wrongBefore) {}
    ~PasswordQuestion() { wipe(answer_); }
    PasswordQuestion(const PasswordQuestion&) = delete;
    PasswordQuestion& operator=(const PasswordQuestion&) = delete;

    INT_PTR show(HWND owner) {
        return DialogBoxParamW(thisModule(), MAKEINTRESOURCEW(IDD_PASSWORD), owner, proc,
                               reinterpret_cast<LPARAM>(this));
    }
    std::wstring& answer() { return answer_; }

private:
    static INT_PTR CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_INITDIALOG) SetWindowLongPtrW(hwnd, DWLP_USER, lp);
        auto* self = reinterpret_cast<PasswordQuestion*>(GetWindowLongPtrW(hwnd, DWLP_USER));
        if (!self) return FALSE;
        try {
            switch (msg) {
            case WM_INITDIALOG: return self->onInit(hwnd);
            case WM_COMMAND: return self->onCommand(hwnd, LOWORD(wp));
            default: return FALSE;
            }
        } catch (...) {
            EndDialog(hwnd, IDCANCEL);
            return TRUE;
        }
    }

    BOOL onInit(HWND hwnd) {
        SetWindowTextW(hwnd, text::kPasswordCaption);
        std::wstring question = std::wstring(text::kPasswordQuestionHead) + member_ + text::kPasswordQuestionTail;
        SetDlgItemTextW(hwnd, IDC_PASSWORD_QUESTION, question.c_str());
        SetDlgItemTextW(hwnd, IDC_PASSWORD_WRONG, text::kPasswordWrong);
        SetDlgItemTextW(hwnd, IDOK, text::kOk);
        SetDlgItemTextW(hwnd, IDCANCEL, text::kCancel);
        if (wrongBefore_) ShowWindow(GetDlgItem(hwnd, IDC_PASSWORD_WRONG), SW_SHOWNA);
        centre(hwnd);
        comeToFront(hwnd);
        SetFocus(GetDlgItem(hwnd, IDC_PASSWORD_EDIT));
        return FALSE;  // the focus is set
    }

    BOOL onCommand(HWND hwnd, int id) {
        if (id == IDOK) {
            HWND edit = GetDlgItem(hwnd, IDC_PASSWORD_EDIT);
            int length = GetWindowTextLengthW(edit);
            answer_.assign(static_cast<size_t>(length) + 1, L'\0');
            int got = GetWindowTextW(edit, answer_.data(), length + 1);
            answer_.resize(static_cast<size_t>(got > 0 ? got : 0));
            SetWindowTextW(edit, L"");  // the control's copy goes at once
            EndDialog(hwnd, IDOK);
            return TRUE;
        }
        if (id == IDCANCEL) {
            EndDialog(hwnd, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }

    // Over the owner when it is on screen (a viewer), else on the work area
    // (the owner may be a window not yet shown).
    static void centre(HWND hwnd) {
        HWND owner = GetWindow(hwnd, GW_OWNER);
        RECT area{}, box{};
        if (!(owner && IsWindowVisible(owner) && GetWindowRect(owner, &area)))
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        GetWindowRect(hwnd, &box);
        const int w = box.right - box.left, h = box.bottom - box.top;
        SetWindowPos(hwnd, nullptr, (area.left + area.right - w) / 2, (area.top + area.bottom - h) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // Above every window of the calling program (a please-wait window, a
    // viewer, a progress window), topmost too when one of them is, and in
    // the foreground, so the question is never hidden behind them.
    struct TopmostScan {
        HWND self;
        bool topmost = false;
    };
    // An enumeration callback must be WINAPI (stdcall in the 32-bit tree), which a lambda is not.
    static BOOL CALLBACK NoteTopmost(HWND w, LPARAM lp) {
        auto* s = reinterpret_cast<TopmostScan*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (w != s->self && pid == GetCurrentProcessId() && IsWindowVisible(w) &&
            (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST))
            s->topmost = true;
        return TRUE;
    }
    static void comeToFront(HWND hwnd) {
        TopmostScan scan{hwnd};
        EnumWindows(NoteTopmost, reinterpret_cast<LPARAM>(&scan));
        SetWindowPos(hwnd, scan.topmost ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(hwnd);
    }

    std::wstring member_;
    bool wrongBefore_;
    std::wstring answer_;
};

}  // namespace

bool canAskFor(HWND owner) { return owner && IsWindow(owner); }

arc::PasswordReply PasswordDialog::ask(const std::string& memberUtf8, int attempt, std::string* password) {
    if (!canAskFor(owner_)) return arc::PasswordReply::None;
    PasswordQuestion question(utf8ToWide(memberUtf8), attempt > 1);
    INT_PTR r = question.show(owner_);
    if (r == IDCANCEL) return arc::PasswordReply::Cancel;
    if (r != IDOK) return arc::PasswordReply::None;  // no template in this library, or no window
    *password = wideToAnsi(question.answer());
    return arc::PasswordReply::Given;
}

}  // namespace arcdll
