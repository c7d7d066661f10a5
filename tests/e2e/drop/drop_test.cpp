// A file dragged onto the viewer from another program: the drag shows the
// effect of the drop rules, and the drop opens the file in a new instance.
// The driver is the dragging program: the shell's own data object for the
// file, OLE's DoDragDrop, and the cursor moved over the viewer by SendInput.
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quibex_session.h"

namespace {

using namespace std::chrono_literals;

// Drops once the target has shown an effect for a few rounds of the drag
// loop; cancels when it never does.
class Dragger final : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
            *out = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the test's stack
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override {
        if (shownRounds >= 3) return DRAGDROP_S_DROP;
        return ++rounds > 400 ? DRAGDROP_S_CANCEL : S_OK;  // the loop runs about every 50 ms
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override {
        effects.push_back(effect);
        if (effect != DROPEFFECT_NONE) ++shownRounds;
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }
    std::vector<DWORD> effects;
    int shownRounds = 0;
    int rounds = 0;
};

// The shell's data object for one file, as a file window would drag it.
IDataObject* ShellDataObject(const std::wstring& path) {
    PIDLIST_ABSOLUTE pidl = nullptr;
    if (FAILED(SHParseDisplayName(path.c_str(), nullptr, &pidl, 0, nullptr))) return nullptr;
    IShellFolder* parent = nullptr;
    PCUITEMID_CHILD child = nullptr;
    IDataObject* data = nullptr;
    if (SUCCEEDED(SHBindToParent(pidl, IID_IShellFolder, reinterpret_cast<void**>(&parent), &child))) {
        parent->GetUIObjectOf(nullptr, 1, &child, IID_IDataObject, nullptr, reinterpret_cast<void**>(&data));
        parent->Release();
    }
    CoTaskMemFree(pidl);
    return data;
}

void MoveCursor(POINT to) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(to.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(to.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

class E2eDrop : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    void TearDown() override { OleUninitialize(); }

    // Starts Quibex on the sample, drags `dropped` onto its text and drops it.
    void DragOnto(QuibexSession& q, const std::wstring& dropped, Dragger& source, DWORD* result, HWND* viewerOut) {
        ASSERT_TRUE(q.start(L"\"" + e2e::hostToWinePath(QUIBEX_SOURCE_DIR "/samples/sample.lzh") + L"\""));
        HWND viewer = q.waitWindow(L"sample.lzh - Quibex", L"QuibexViewer");
        ASSERT_NE(viewer, nullptr);
        *viewerOut = viewer;
        ASSERT_TRUE(q.process().waitForInputIdle());
        RECT r{};
        GetWindowRect(viewer, &r);
        MoveCursor(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        IDataObject* data = ShellDataObject(dropped);
        ASSERT_NE(data, nullptr);
        *result = DROPEFFECT_NONE;
        HRESULT hr = DoDragDrop(data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, result);
        data->Release();
        ASSERT_EQ(hr, DRAGDROP_S_DROP) << "effects seen: " << source.effects.size();
    }
};

std::wstring DroppedCopy(QuibexSession& q) {
    std::wstring path = q.folder().file(L"dropped.lzh");
    CopyFileW(e2e::hostToWinePath(QUIBEX_SOURCE_DIR "/samples/sample.lzh").c_str(), path.c_str(), FALSE);
    return path;
}

// DoDragDrop reads the modifiers from the dragging thread's key state; the
// keyboard's input goes to the foreground window's thread instead, so the
// state is set here as a held key would leave it.
void HoldShift(bool down) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = keys[VK_LSHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

// Closes a viewer of another process and waits for that process to end.
void CloseViewer(HWND viewer) {
    DWORD pid = 0;
    GetWindowThreadProcessId(viewer, &pid);
    HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, pid);
    e2e::closeWindow(viewer);
    if (h) {
        WaitForSingleObject(h, 20000);
        CloseHandle(h);
    }
}

// True once the viewer's visible text box holds text (polled).
bool ShowsText(HWND viewer) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < 20000; Sleep(50)) {
        for (HWND child : e2e::childWindows(viewer)) {
            wchar_t cls[32] = {};
            GetClassNameW(child, cls, static_cast<int>(std::size(cls)));
            DWORD_PTR length = 0;
            if (_wcsicmp(cls, L"RichEdit50W") == 0 && IsWindowVisible(child) &&
                SendMessageTimeoutW(child, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length) && length > 0)
                return true;
        }
    }
    return false;
}

struct DropCase {
    const wchar_t* name;
    const char* prevInstance;
    bool shift;
    DWORD shown;     // the effect the drag shows over the viewer
    bool firstEnds;  // the instance dropped on ends
};

TEST_F(E2eDrop, DragShowsTheRulesEffectAndTheDropOpensTheFileInANewInstance) {
    const DropCase cases[] = {
        {L"drop_single_instance", "0", false, DROPEFFECT_MOVE, true},
        {L"drop_side_by_side", "1", false, DROPEFFECT_COPY, false},
        {L"drop_side_by_side_shift", "1", true, DROPEFFECT_MOVE, true},
    };
    for (const DropCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "PrevInstance " << c.prevInstance << (c.shift ? ", Shift" : ""));
        std::string ini = kDefaultIni;
        ini.insert(ini.find("[Viewer]"), std::string("PrevInstance=") + c.prevInstance + "\n");
        QuibexSession q(ini.c_str());
        std::wstring dropped = DroppedCopy(q);
        Dragger source;
        DWORD effect = 0;
        HWND first = nullptr;
        if (c.shift) HoldShift(true);
        DragOnto(q, dropped, source, &effect, &first);
        if (c.shift) HoldShift(false);
        if (HasFatalFailure()) return;
        ASSERT_FALSE(source.effects.empty());
        EXPECT_EQ(source.effects.back(), c.shown);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));  // the file is only read
        HWND next = e2e::waitForWindow(e2e::WindowQuery().withCaption(L"dropped.lzh - Quibex").withClass(L"QuibexViewer"));
        ASSERT_NE(next, nullptr);
        EXPECT_TRUE(ShowsText(next));
        EXPECT_NE(GetFileAttributesW(dropped.c_str()), INVALID_FILE_ATTRIBUTES);
        if (c.firstEnds) {
            EXPECT_TRUE(q.process().waitForExit().has_value());
        } else {
            EXPECT_FALSE(q.process().waitForExit(1500ms).has_value());
        }
        e2e::saveScreenshot(c.name);
        CloseViewer(next);
        if (!c.firstEnds) CloseViewer(first);
    }
}

}  // namespace
