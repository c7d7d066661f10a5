// Files dragged over the viewer through OLE: the effect each key gives, data
// without files refused, and a drop that reaches the drop hooks.
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "viewer/drop_target.h"
#include "viewer/viewer_control.h"
#include "viewer/viewer_window.h"
#include "next_box.h"
#include "viewer_fixture.h"

using namespace quibex;

namespace {

// A data object offering one HGLOBAL format: CF_HDROP with `files`, or
// another format with some text. Every GetData hands out its own copy.
class TestData final : public IDataObject {
public:
    static TestData* Files(const std::vector<std::wstring>& files) {
        std::wstring list;
        for (const auto& f : files) list += f + L'\0';
        list += L'\0';
        size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
        std::vector<char> block(bytes);
        auto* head = reinterpret_cast<DROPFILES*>(block.data());
        head->pFiles = sizeof(DROPFILES);
        head->fWide = TRUE;
        memcpy(block.data() + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
        return new TestData(CF_HDROP, std::move(block));
    }
    static TestData* Text(const std::wstring& text) {
        std::vector<char> block((text.size() + 1) * sizeof(wchar_t));
        memcpy(block.data(), text.c_str(), block.size());
        return new TestData(CF_UNICODETEXT, std::move(block));
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *out = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        HRESULT ok = QueryGetData(format);
        if (ok != S_OK) return ok;
        HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, block_.size());
        if (!copy) return E_OUTOFMEMORY;
        memcpy(GlobalLock(copy), block_.data(), block_.size());
        GlobalUnlock(copy);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = copy;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        if (format->cfFormat != format_) return DV_E_FORMATETC;
        if (!(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    TestData(CLIPFORMAT format, std::vector<char> block) : format_(format), block_(std::move(block)) {}
    ULONG refs_ = 1;
    CLIPFORMAT format_;
    std::vector<char> block_;
};

// Releases a COM object at the end of a scope.
template <typename T>
struct Held {
    T* p;
    ~Held() {
        if (p) p->Release();
    }
    T* operator->() const { return p; }
};


constexpr DWORD kAnyEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

class ViewerDropTarget : public ViewerTest {
protected:
    void SetUp() override {
        ole_ = SUCCEEDED(OleInitialize(nullptr));
        ASSERT_TRUE(ole_);
        ViewerTest::SetUp();
        RecordDrops();
        dropped = work + L"other.lzh";
    }
    void TearDown() override {
        ViewerTest::TearDown();
        if (ole_) OleUninitialize();
    }
    // Opens the viewer with "PrevInstance" set to `allowSecond`.
    void OpenWith(int allowSecond) {
        WritePrivateProfileStringW(L"Option", L"PrevInstance", allowSecond ? L"1" : L"0", iniPath.c_str());
        AddText(L"a.txt", "a");
        AddText(L"other.lzh", "x");
        Open({L"a.txt"});
    }
    // The effect shown on entering and then moving over the viewer.
    static std::pair<DWORD, DWORD> EnterAndOver(IDataObject* data, DWORD keys, DWORD allowed) {
        Held<IDropTarget> target{NewViewerDropTarget()};
        DWORD onEnter = allowed, onOver = allowed;
        EXPECT_EQ(target->DragEnter(data, keys, POINTL{10, 10}, &onEnter), S_OK);
        EXPECT_EQ(target->DragOver(keys, POINTL{12, 12}, &onOver), S_OK);
        EXPECT_EQ(target->DragLeave(), S_OK);
        return {onEnter, onOver};
    }

    std::wstring dropped;

private:
    bool ole_ = false;
};

struct EffectCase {
    const char* keys;
    DWORD keyState;
    DWORD single;     // PrevInstance 0
    DWORD sideBySide; // PrevInstance 1
};

// Held with the left button, as a real drag is.
constexpr EffectCase kEffects[] = {
    {"none", MK_LBUTTON, DROPEFFECT_MOVE, DROPEFFECT_COPY},
    {"Shift", MK_LBUTTON | MK_SHIFT, DROPEFFECT_MOVE, DROPEFFECT_MOVE},
    {"Ctrl", MK_LBUTTON | MK_CONTROL, DROPEFFECT_MOVE, DROPEFFECT_COPY},
    {"Alt", MK_LBUTTON | MK_ALT, DROPEFFECT_MOVE, DROPEFFECT_COPY},
    {"Shift+Ctrl", MK_LBUTTON | MK_SHIFT | MK_CONTROL, DROPEFFECT_MOVE, DROPEFFECT_COPY},
    {"Shift+Alt", MK_LBUTTON | MK_SHIFT | MK_ALT, DROPEFFECT_MOVE, DROPEFFECT_COPY},
};

TEST_F(ViewerDropTarget, EffectFollowsKeysAndInstanceSetting) {
    for (int allowSecond : {0, 1}) {
        OpenWith(allowSecond);
        Held<TestData> data{TestData::Files({dropped})};
        for (const auto& c : kEffects) {
            DWORD want = allowSecond ? c.sideBySide : c.single;
            auto [onEnter, onOver] = EnterAndOver(data.p, c.keyState, kAnyEffect);
            EXPECT_EQ(onEnter, want) << c.keys << ", PrevInstance " << allowSecond;
            EXPECT_EQ(onOver, want) << c.keys << ", PrevInstance " << allowSecond;
        }
        CloseAndWait();
    }
    EXPECT_TRUE(g_dropStarted.empty());  // dragging over is not dropping
}

TEST_F(ViewerDropTarget, EffectFallsBackToCopyWhenTheSourceCannotMove) {
    OpenWith(0);  // the rules want move
    Held<TestData> data{TestData::Files({dropped})};
    EXPECT_EQ(EnterAndOver(data.p, MK_LBUTTON, DROPEFFECT_COPY).second, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(EnterAndOver(data.p, MK_LBUTTON, DROPEFFECT_MOVE).second, static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_EQ(EnterAndOver(data.p, MK_LBUTTON, DROPEFFECT_LINK).second, static_cast<DWORD>(DROPEFFECT_NONE));
}

TEST_F(ViewerDropTarget, DataWithoutFilesShowsNoEffectAndDropsNothing) {
    OpenWith(1);
    Held<TestData> text{TestData::Text(L"C:\\other.lzh")};
    Held<TestData> empty{TestData::Files({})};
    for (IDataObject* data : {static_cast<IDataObject*>(text.p), static_cast<IDataObject*>(empty.p)}) {
        auto [onEnter, onOver] = EnterAndOver(data, MK_LBUTTON, kAnyEffect);
        EXPECT_EQ(onEnter, static_cast<DWORD>(DROPEFFECT_NONE));
        EXPECT_EQ(onOver, static_cast<DWORD>(DROPEFFECT_NONE));
        Held<IDropTarget> target{NewViewerDropTarget()};
        DWORD effect = kAnyEffect;
        target->DragEnter(data, MK_LBUTTON, POINTL{1, 1}, &effect);
        effect = kAnyEffect;
        EXPECT_EQ(target->Drop(data, 0, POINTL{1, 1}, &effect), S_OK);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    }
    Pump(50);
    EXPECT_TRUE(g_dropStarted.empty());
    EXPECT_EQ(g_dropEnded, 0);
}

struct DropCase {
    int allowSecond;
    DWORD keyState;  // at the drop the button is already up
    int ends;
};

TEST_F(ViewerDropTarget, DropStartsTheFirstFileAndEndsByTheRules) {
    constexpr DropCase kDrops[] = {{0, 0, 1}, {0, MK_CONTROL, 1}, {1, 0, 0}, {1, MK_SHIFT, 1}, {1, MK_SHIFT | MK_ALT, 0}};
    for (const auto& c : kDrops) {
        OpenWith(c.allowSecond);
        RecordDrops();
        Held<TestData> data{TestData::Files({dropped, work + L"a.txt"})};
        Held<IDropTarget> target{NewViewerDropTarget()};
        DWORD effect = kAnyEffect;
        ASSERT_EQ(target->DragEnter(data.p, MK_LBUTTON | c.keyState, POINTL{5, 5}, &effect), S_OK);
        effect = kAnyEffect;
        ASSERT_EQ(target->Drop(data.p, c.keyState, POINTL{5, 5}, &effect), S_OK);
        // Reported as a copy even when the drag showed a move: the file stays where it is.
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
        ASSERT_TRUE(PumpUntil([] { return !g_dropStarted.empty(); }, 2000)) << "PrevInstance " << c.allowSecond;
        ASSERT_EQ(g_dropStarted.size(), 1u);
        EXPECT_NE(g_dropStarted[0].find(L"\\Quibex.exe\" \"" + dropped + L"\""), std::wstring::npos) << g_dropStarted[0];
        EXPECT_EQ(g_dropEnded, c.ends) << "PrevInstance " << c.allowSecond << ", keys " << c.keyState;
        EXPECT_EQ(Ini(L"Option", L"DroppedArcFile"), c.allowSecond ? L"(none)" : L"1");
        CloseAndWait();
        WritePrivateProfileStringW(L"Option", L"DroppedArcFile", nullptr, iniPath.c_str());
    }
}

// The new instance could not start: the flag goes back, the viewer stays and says why.
TEST_F(ViewerDropTarget, FailedHandOverKeepsTheViewerAndResetsTheFlag) {
    OpenWith(0);
    RecordDrops(false);
    NextBox box(IDOK);
    DropArchive(dropped, 0);
    EXPECT_EQ(box.Text(), dropped + L"\r\n\r\nこの書庫を開くための Quibex を起動できませんでした。");
    EXPECT_EQ(g_dropStarted.size(), 1u);
    EXPECT_EQ(g_dropEnded, 0);
    EXPECT_EQ(Ini(L"Option", L"DroppedArcFile"), L"0");
    Pump(50);
    EXPECT_NE(ViewerWindow(), nullptr);
}

// Taken as a move, the source could delete the file; refused, the shell
// falls back to WM_DROPFILES, so nothing may start here.
TEST_F(ViewerDropTarget, DropIsRefusedWhenTheSourceAllowsNoCopy) {
    OpenWith(0);
    Held<TestData> data{TestData::Files({dropped})};
    Held<IDropTarget> target{NewViewerDropTarget()};
    DWORD effect = DROPEFFECT_MOVE;
    target->DragEnter(data.p, MK_LBUTTON, POINTL{5, 5}, &effect);
    ASSERT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));  // the drag itself shows the rules' move
    effect = DROPEFFECT_MOVE;
    ASSERT_EQ(target->Drop(data.p, 0, POINTL{5, 5}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    Pump(100);
    EXPECT_TRUE(g_dropStarted.empty());
    EXPECT_EQ(g_dropEnded, 0);
}

// OLE finds a target by walking from the window under the cursor to its
// parents; the viewer's covers its children only while they have none of
// their own (the text boxes are made without rich edit's own drag and drop).
// The target comes once the first text has been painted.
TEST_F(ViewerDropTarget, RegisteredOnTheViewerAndNotOnItsChildren) {
    OpenWith(0);
    constexpr const wchar_t* kProp = L"OleDropTargetInterface";
    EXPECT_EQ(GetPropW(ViewerWindow(), kProp), nullptr) << "registered before the viewer's first paint";
    EXPECT_TRUE(PumpUntil([&] { return GetPropW(ViewerWindow(), kProp) != nullptr; }, 2000));
    for (HWND child : {ViewerTextBox(0), ViewerTabStrip(), ViewerStatusBar(), ViewerToolbar()}) {
        ASSERT_NE(child, nullptr);
        for (HWND w = child; w && w != ViewerWindow(); w = GetParent(w)) EXPECT_EQ(GetPropW(w, kProp), nullptr);
    }
}

// While another window of the program is open over the viewer no drop is
// taken, by OLE or by WM_DROPFILES; afterwards drops work again.
TEST_F(ViewerDropTarget, DropModeZeroRefusesEveryDropUntilModeOne) {
    OpenWith(1);
    Held<TestData> data{TestData::Files({dropped})};
    auto dropFiles = [&] {
        // WM_DROPFILES as the shell sends it: the receiver frees the block.
        std::wstring list = dropped + L'\0' + L'\0';
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
        auto* head = static_cast<DROPFILES*>(GlobalLock(block));
        head->pFiles = sizeof(DROPFILES);
        head->fWide = TRUE;
        memcpy(reinterpret_cast<char*>(head) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
        GlobalUnlock(block);
        SendMessageW(ViewerWindow(), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
    };
    auto oleDrop = [&] {
        Held<IDropTarget> target{NewViewerDropTarget()};
        DWORD effect = kAnyEffect;
        target->DragEnter(data.p, MK_LBUTTON, POINTL{5, 5}, &effect);
        DWORD shown = effect;
        effect = kAnyEffect;
        target->Drop(data.p, 0, POINTL{5, 5}, &effect);
        return std::make_pair(shown, effect);
    };
    SetViewerDropMode(0);
    EXPECT_FALSE(GetWindowLongPtrW(ViewerWindow(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_EQ(oleDrop(), std::make_pair(DWORD{DROPEFFECT_NONE}, DWORD{DROPEFFECT_NONE}));
    dropFiles();
    Pump(100);
    EXPECT_TRUE(g_dropStarted.empty());
    SetViewerDropMode(1);
    EXPECT_TRUE(GetWindowLongPtrW(ViewerWindow(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_EQ(oleDrop(), std::make_pair(DWORD{DROPEFFECT_COPY}, DWORD{DROPEFFECT_COPY}));
    ASSERT_TRUE(PumpUntil([] { return g_dropStarted.size() == 1; }, 2000));
    dropFiles();
    EXPECT_EQ(g_dropStarted.size(), 2u);
}

}  // namespace
