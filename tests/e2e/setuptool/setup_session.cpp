#include "setup_session.h"

#include "../../../res/setuptool/setup_resource.h"
#include "quibex_session.h"

SetupSession::SetupSession(bool toolOnly) {
    if (toolOnly) {
        folder_.copyFrom({L"Quibexsetup.exe"});
    } else {
        folder_.copyProgramFiles();
        folder_.writeIni(kDefaultIni);  // the viewer a verb starts skips its welcome
    }
}

SetupSession::~SetupSession() {
    if (process_.running()) process_.kill();
}

bool SetupSession::start() { return process_.start(folder_.file(L"Quibexsetup.exe"), L"", folder_.path()); }

bool SetupSession::open(e2e::ScreenshotAtEnd* shot) {
    if (!start()) return false;
    if (shot) shot->setProcess(process_.id());
    return waitWindow() != nullptr;
}

HWND SetupSession::waitWindow() {
    window_ = e2e::waitForWindow(
        e2e::WindowQuery().withCaption(L"Quibex Setup").withClass(L"#32770").inProcess(process_.id()));
    // Ready once the dialog has taken its first input (detection has run).
    if (window_) process_.waitForInputIdle();
    return window_;
}

HWND SetupSession::control(int id) const { return e2e::childById(window_, id); }

std::wstring SetupSession::itemName() const { return e2e::windowText(control(IDC_TXTITEMNAME)); }

std::wstring SetupSession::ticks() const {
    std::wstring shown;
    for (size_t i = 0; i < kCaptions.size(); ++i)
        shown += e2e::checkState(control(IDC_CHKEXT + static_cast<int>(i))) == BST_CHECKED ? L'1' : L'0';
    return shown;
}

bool SetupSession::tick(size_t index, bool on) {
    HWND box = control(IDC_CHKEXT + static_cast<int>(index));
    const int wanted = on ? BST_CHECKED : BST_UNCHECKED;
    if (e2e::checkState(box) != wanted) e2e::pressButtonById(window_, IDC_CHKEXT + static_cast<int>(index));
    return e2e::waitUntil([&] { return e2e::checkState(box) == wanted; });
}

e2e::MessageBoxInfo SetupSession::pressOk(HWND* box, bool leaveOpen) {
    e2e::pressButtonById(window_, IDC_BTNOK);
    HWND shown = e2e::waitForMessageBox(process_.id());
    if (box) *box = shown;
    if (!shown) return {};
    e2e::MessageBoxInfo info = e2e::readMessageBox(shown);
    if (!leaveOpen) {
        e2e::answerMessageBox(shown, L"OK");
        e2e::waitForWindowGone(shown);
    }
    return info;
}

std::wstring SetupSession::verbCommand() const { return L"\"" + folder_.file(L"Quibex.exe") + L"\" \"%1\""; }

std::wstring Report(const std::array<std::wstring, 6>& outcomes) {
    std::wstring text;
    for (size_t i = 0; i < kCaptions.size(); ++i)
        text += L"拡張子\"" + kCaptions[i] + L"\"に対する項目の" + outcomes[i] + L"\r\n\r\n";
    return text;
}
