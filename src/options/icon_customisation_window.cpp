// Each image box shows the icon file its path names, or the toolbar's
// built-in image when the path is empty or the file does not load (the path
// stays stored: the toolbar meets it again). A path is stored as soon as it
// is chosen or reset; "HotImage" is taken back when the window closes.
#include "options/icon_customisation_window.h"

#include <array>
#include <string>

#include "core/app_state.h"
#include "core/message_box.h"
#include "core/paths.h"
#include "core/window_base.h"
#include "options/chooser_folder.h"
#include "options/options_texts.h"
#include "resource.h"
#include "ui/toolbar_images.h"
#include "ui/whats_this.h"

namespace quibex {
namespace {

constexpr int kButtonCount = kToolbarGlyphCount;
constexpr int kBoxCount = static_cast<int>(kIconCount);  // two per button: 2i normal, 2i + 1 pointed at

constexpr int kResetTopic = 90, kNormalImageTopic = 91, kPointedImageTopic = 92, kHotImageTopic = 93;

constexpr std::array<ControlTopic, 3 * kButtonCount + 1> MakeTopics() {
    std::array<ControlTopic, 3 * kButtonCount + 1> topics{};
    size_t n = 0;
    for (int i = 0; i < kButtonCount; ++i) {
        topics[n++] = {IDC_ICONCUST_BTNRESET + i, kResetTopic};
        topics[n++] = {IDC_ICONCUST_IMAGE1 + 2 * i, kNormalImageTopic};
        topics[n++] = {IDC_ICONCUST_IMAGE1 + 2 * i + 1, kPointedImageTopic};
    }
    topics[n] = {IDC_ICONCUST_CHKHOTIMAGE, kHotImageTopic};
    return topics;
}
constexpr auto kTopics = MakeTopics();

int WindowDpi(HWND hwnd) {
    HDC dc = GetDC(hwnd);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(hwnd, dc);
    return dpi > 0 ? dpi : 96;
}

class IconCustomisationDialog : public Dialog {
public:
    IconCustomisationDialog() : help_(kTopics) {}

protected:
    bool OnInit() override {
        // The toolbar's own size for its images: 32 pixels at 96 DPI.
        size_ = ToolbarImageSize(WindowDpi(hwnd()));
        const std::array<std::wstring, kIconCount> noFiles{};
        builtIn_[0] = BuildToolbarImageList(false, size_, noFiles);
        builtIn_[1] = BuildToolbarImageList(true, size_, noFiles);
        const Settings& s = AppSettings();
        for (int k = 0; k < kBoxCount; ++k) icons_[k] = LoadIconFile(s.IconPaths[k], size_);
        CheckDlgButton(hwnd(), IDC_ICONCUST_CHKHOTIMAGE, s.HotImage == 1 ? BST_CHECKED : BST_UNCHECKED);
        return true;
    }

    bool OnCommand(int id, int code, HWND) override {
        if (id == IDC_ICONCUST_BTNCLOSE) {
            End(IDCANCEL);
            return true;
        }
        if (id == IDOK) return true;  // Enter away from a button: the window has no default action
        if (id >= IDC_ICONCUST_BTNRESET && id < IDC_ICONCUST_BTNRESET + kButtonCount && code == BN_CLICKED) {
            Reset(id - IDC_ICONCUST_BTNRESET);
            return true;
        }
        if (IsImageBox(id) && code == STN_DBLCLK) {
            Choose(id - IDC_ICONCUST_IMAGE1);
            return true;
        }
        return false;
    }

    bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) override {
        if (msg == WM_DRAWITEM) {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            if (!IsImageBox(static_cast<int>(item.CtlID))) return false;
            Draw(item);
            result = TRUE;
            return true;
        }
        if (msg == WM_DESTROY) {
            AppSettings().HotImage = IsDlgButtonChecked(hwnd(), IDC_ICONCUST_CHKHOTIMAGE) == BST_CHECKED ? 1 : 0;
            return false;
        }
        return help_.HandleMessage(hwnd(), msg, wp, lp, result);
    }

private:
    static bool IsImageBox(int id) { return id >= IDC_ICONCUST_IMAGE1 && id < IDC_ICONCUST_IMAGE1 + kBoxCount; }

    void Redraw(int k) { InvalidateRect(Item(IDC_ICONCUST_IMAGE1 + k), nullptr, TRUE); }

    // Centred in the box on the window's face.
    void Draw(const DRAWITEMSTRUCT& item) const {
        const int k = static_cast<int>(item.CtlID) - IDC_ICONCUST_IMAGE1;
        const RECT& r = item.rcItem;
        FillRect(item.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
        const int x = (r.left + r.right - size_) / 2, y = (r.top + r.bottom - size_) / 2;
        if (icons_[k])
            DrawIconEx(item.hDC, x, y, icons_[k].get(), size_, size_, 0, nullptr, DI_NORMAL);
        else
            ImageList_Draw(builtIn_[k % 2].get(), k / 2, item.hDC, x, y, ILD_NORMAL);
    }

    // A file that is not an icon or cursor is ignored without a word: the
    // box and the stored path keep what they had.
    void Choose(int k) {
        std::wstring& stored = AppSettings().IconPaths[k];
        const std::wstring filter(options_text::kIconFilter, std::size(options_text::kIconFilter));
        const std::wstring chosen =
            SelectArchiveFile(hwnd(), filter, ChooserStartFolder(stored), options_text::kIconChooserTitle);
        if (chosen.empty()) return;
        UniqueIcon icon = LoadIconFile(chosen, size_);
        if (!icon) return;
        icons_[k] = std::move(icon);
        stored = chosen;
        Redraw(k);
    }

    void Reset(int i) {
        wchar_t caption[64] = {};
        GetDlgItemTextW(hwnd(), IDC_ICONCUST_FRAME2 + i, caption, static_cast<int>(std::size(caption)));
        const std::wstring question =
            options_text::kResetQuestionBefore + std::wstring(caption) + options_text::kResetQuestionAfter;
        if (ShowMessage(question, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
        for (int k : {2 * i, 2 * i + 1}) {
            icons_[k].reset();
            AppSettings().IconPaths[k].clear();
            Redraw(k);
        }
    }

    std::array<UniqueImageList, 2> builtIn_;    // the built-in images, normal and pointed at, in glyph order
    std::array<UniqueIcon, kIconCount> icons_;  // what each box shows of a file; empty: the built-in image
    int size_ = 32;
    WhatsThis help_;
};

}  // namespace

void ShowIconCustomisationWindow(HWND owner) {
    IconCustomisationDialog dialog;
    dialog.RunModal(IDD_ICONCUST, owner);
}

}  // namespace quibex
