#include "search/search_window.h"

#include <richedit.h>

#include <algorithm>

#include "core/message_placement.h"
#include "core/window_base.h"
#include "resource.h"
#include "search/find_in_view.h"

namespace quibex {
namespace {

// Kept for the whole run.
struct Remembered {
    std::wstring text;
    int flags = 0;  // 0, or kSearchMatchCase
    bool placed = false;
    POINT position{0, 0};  // where the window stood when it last closed
};
Remembered g_last;

// A proposal longer than this is cut: a whole selected book is no search string.
constexpr LONG kLongestProposal = 1024;

std::wstring SelectedText(HWND box) {
    CHARRANGE sel{0, 0};
    if (!box) return {};
    SendMessageW(box, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    if (sel.cpMax <= sel.cpMin) return {};
    const LONG end = std::min(sel.cpMax, sel.cpMin + kLongestProposal);
    std::wstring text(static_cast<size_t>(end - sel.cpMin) + 1, L'\0');
    TEXTRANGEW range{{sel.cpMin, end}, text.data()};
    text.resize(static_cast<size_t>(SendMessageW(box, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range))));
    return text;
}

class SearchForm : public Dialog {
public:
    explicit SearchForm(const SearchHost& host) : host_(host) {}

protected:
    bool OnInit() override {
        Place();
        HWND box = host_.currentBox ? host_.currentBox() : nullptr;
        std::wstring proposal = SelectedText(box);
        if (proposal.empty()) proposal = g_last.text;
        SetDlgItemTextW(hwnd(), IDC_SEARCH_TXTSEARCHSTRING, proposal.c_str());
        CheckDlgButton(hwnd(), IDC_SEARCH_CHKCOMPARE, g_last.flags == kSearchMatchCase ? BST_CHECKED : BST_UNCHECKED);
        return true;  // the dialog manager puts the focus in the text box, all of it selected
    }

    bool OnCommand(int id, int, HWND) override {
        if (id == IDCANCEL) {
            // The focus goes back to the text, so that F3 and the other keys
            // reach it again (the viewer, reactivated, would keep it itself).
            HWND box = host_.currentBox ? host_.currentBox() : nullptr;
            End(IDCANCEL);  // this object is gone from here on
            if (box && IsWindowVisible(box)) SetFocus(box);
            return true;
        }
        if (id != IDOK) return false;
        HWND edit = Item(IDC_SEARCH_TXTSEARCHSTRING);
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
        if (text.empty()) return true;
        g_last.text = text;
        g_last.flags = IsDlgButtonChecked(hwnd(), IDC_SEARCH_CHKCOMPARE) == BST_CHECKED ? kSearchMatchCase : 0;
        FindTextInView(host_.currentBox ? host_.currentBox() : nullptr, g_last.text, g_last.flags);
        return true;
    }

    bool HandleMessage(UINT msg, WPARAM, LPARAM, INT_PTR&) override {
        if (msg == WM_DESTROY) {
            RECT r{};
            GetWindowRect(hwnd(), &r);
            g_last.position = {r.left, r.top};
            if (host_.setDropMode) host_.setDropMode(1);
        }
        return false;
    }

    bool CentreOnOwner() const override { return false; }
    void OnDestroyed() override;

private:
    // Centred over the viewer the first time, where it was left afterwards;
    // kept on the screen either way.
    void Place() {
        RECT self{};
        GetWindowRect(hwnd(), &self);
        const int w = self.right - self.left, h = self.bottom - self.top;
        if (!g_last.placed) {
            RECT viewer{};
            GetWindowRect(host_.viewer, &viewer);
            g_last.position = {viewer.left + ((viewer.right - viewer.left) - w) / 2,
                               viewer.top + ((viewer.bottom - viewer.top) - h) / 2};
            g_last.placed = true;
        }
        Point at = KeptOnScreen({g_last.position.x, g_last.position.y}, w, h, GetSystemMetrics(SM_CXSCREEN),
                                GetSystemMetrics(SM_CYSCREEN));
        SetWindowPos(hwnd(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    SearchHost host_;
};

SearchForm* g_search = nullptr;

void SearchForm::OnDestroyed() {
    if (g_search == this) g_search = nullptr;
    delete this;
}

}  // namespace

void OpenSearchWindow(const SearchHost& host) {
    if (g_search) {
        SetActiveWindow(g_search->hwnd());
        return;
    }
    if (host.setDropMode) host.setDropMode(0);
    auto* form = new SearchForm(host);
    if (!form->CreateModeless(IDD_SEARCH, host.viewer)) {
        delete form;
        if (host.setDropMode) host.setDropMode(1);
        return;
    }
    g_search = form;
}

HWND SearchWindow() { return g_search ? g_search->hwnd() : nullptr; }

bool SearchRemembered() { return !g_last.text.empty(); }

bool RepeatLastSearch(HWND box) { return SearchRemembered() && FindTextInView(box, g_last.text, g_last.flags); }

void ForgetSearch() { g_last = Remembered{}; }

}  // namespace quibex
