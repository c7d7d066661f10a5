#include "quibex_session.h"

const char* const kDefaultIni =
    "[Option]\nAllText=1\nNoText=0\nOpenMax=5\nProgress=0\nInitDialog=1\nArcSelect=0\nArcAplPath=\nTxtEdtPath=\n"
    "PrtToolPath=\nPrtToolParam=\nParamAfterFile=\nPrtConfirm=\nTxtType=\nDocType=HLP DOC HTM HTML CHM\n"
    "ShellExecOpen=0\n[Viewer]\nInsideViewer=1\nFontName=ＭＳ ゴシック\nFontSize=9\n";

QuibexSession::QuibexSession(const char* iniUtf8) {
    folder_.copyProgramFiles();
    if (iniUtf8) folder_.writeIni(iniUtf8);
}

QuibexSession::~QuibexSession() {
    if (process_.running()) process_.kill();
}

bool QuibexSession::start(const std::wstring& arguments) {
    return process_.start(folder_.file(L"Quibex.exe"), arguments, folder_.path());
}

HWND QuibexSession::waitWindow(const std::wstring& caption, const std::wstring& className) {
    e2e::WindowQuery q;
    q.caption = caption;
    q.className = className;
    q.processId = process_.id();
    return e2e::waitForWindow(q);
}

e2e::MessageBoxInfo QuibexSession::waitMessage(HWND* box) {
    HWND b = e2e::waitForMessageBox(process_.id());
    if (box) *box = b;
    return b ? e2e::readMessageBox(b) : e2e::MessageBoxInfo{};
}

void QuibexSession::screenshot(const std::wstring& name) {
    process_.waitForInputIdle();
    // Some windows (the open-file dialog) paint their parts late: wait until
    // two captures a moment apart agree, for a few seconds at most.
    e2e::Image before = e2e::captureScreen();
    for (int i = 0; i < 20; ++i) {
        Sleep(150);
        e2e::Image now = e2e::captureScreen();
        if (now.rgb == before.rgb) break;
        before = std::move(now);
    }
    e2e::saveScreenshot(name);
}

std::vector<std::wstring> QuibexSession::recorderLines() {
    std::vector<std::wstring> lines;
    auto bytes = e2e::readFileBytes(folder_.file(L"recorder.log"));
    std::wstring text = e2e::fromUtf8(std::string(bytes.begin(), bytes.end()));
    size_t start = 0;
    for (size_t nl; (nl = text.find(L'\n', start)) != std::wstring::npos; start = nl + 1)
        lines.push_back(text.substr(start, nl - start));
    return lines;
}
