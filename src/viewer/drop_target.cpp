// The target reads only CF_HDROP data. The drop itself is posted to the
// viewer so that the dragging program gets its answer before this instance
// may end. A drop is taken, and reported, only as a copy: a source told
// "move" may delete the file we only read. One that allows no copy gets
// "none", and Wine's X11 drag and drop then hands the files over by
// WM_DROPFILES instead, so a drop is acted on exactly once either way.
#include "viewer/drop_target.h"

#include <string>

#include "core/lazy_ole32.h"
#include "core/lazy_shell.h"
#include "viewer/drop_rules.h"
#include "viewer/ole_session.h"
#include "viewer/viewer_form.h"

namespace quibex {
namespace {

FORMATETC FileListFormat() { return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

// The first file of the object's file list; empty when it has none.
std::wstring FirstDroppedFile(IDataObject* data) {
    if (!data) return {};
    FORMATETC format = FileListFormat();
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&format, &medium))) return {};
    std::wstring path;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        auto drop = static_cast<HDROP>(medium.hGlobal);
        if (lazy::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
            UINT len = lazy::DragQueryFileW(drop, 0, nullptr, 0);
            path.resize(len + 1);
            UINT got = lazy::DragQueryFileW(drop, 0, path.data(), len + 1);
            path.resize(got <= len ? got : 0);
        }
    }
    lazy::ReleaseStgMedium(&medium);
    return path;
}

class ViewerDropTarget final : public IDropTarget {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
            *out = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL, DWORD* effect) override {
        if (!effect) return E_INVALIDARG;
        holdsFile_ = !FirstDroppedFile(data).empty();
        *effect = EffectFor(keyState, *effect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL, DWORD* effect) override {
        if (!effect) return E_INVALIDARG;
        *effect = EffectFor(keyState, *effect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        holdsFile_ = false;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL, DWORD* effect) override {
        if (!effect) return E_INVALIDARG;
        holdsFile_ = false;
        std::wstring path = FirstDroppedFile(data);
        ViewerForm* f = Form();
        if (path.empty() || !f || f->dropMode == 0 || !(*effect & DROPEFFECT_COPY)) {
            *effect = DROPEFFECT_NONE;
            return S_OK;
        }
        f->droppedPath = path;
        PostMessageW(f->hwnd(), kMsgDroppedArchive, static_cast<WPARAM>(DropModifiersOf(keyState)), 0);
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }

private:
    DWORD EffectFor(DWORD keyState, DWORD allowed) const {
        ViewerForm* f = Form();
        if (!holdsFile_ || !f || f->dropMode == 0) return DROPEFFECT_NONE;
        int rule = DropEffect(f->allowSecondInstance == 1, DropModifiersOf(keyState));
        DWORD wanted = rule == kDropEffectMove ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
        // A source that cannot move (a read-only place, most file managers'
        // copy-only drags) still hands the file over as a copy.
        if (wanted & allowed) return wanted;
        return allowed & DROPEFFECT_COPY;
    }

    LONG refs_ = 1;
    bool holdsFile_ = false;
};

}  // namespace

int DropModifiersOf(DWORD keyState) {
    int mods = 0;
    if (keyState & MK_SHIFT) mods |= kDropShift;
    if (keyState & MK_CONTROL) mods |= kDropCtrl;
    if (keyState & MK_ALT) mods |= kDropAlt;
    return mods;
}

IDropTarget* NewViewerDropTarget() { return new ViewerDropTarget(); }

bool RegisterViewerDropTarget(HWND viewer) {
    if (!StartOle()) return false;
    IDropTarget* target = NewViewerDropTarget();
    HRESULT hr = lazy::RegisterDragDrop(viewer, target);
    target->Release();  // the registration holds its own reference
    return SUCCEEDED(hr);
}

void RevokeViewerDropTarget(HWND viewer) {
    // Before OLE has started nothing can have been registered.
    if (OleStarted()) lazy::RevokeDragDrop(viewer);
}

}  // namespace quibex
