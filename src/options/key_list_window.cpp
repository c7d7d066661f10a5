#include "options/key_list_window.h"

#include "core/app_state.h"
#include "core/window_base.h"
#include "options/key_list_rows.h"
#include "resource.h"

namespace quibex {

namespace {

class KeyListDialog : public Dialog {
protected:
    bool OnInit() override {
        const Settings& settings = AppSettings();
        Fill(KeyListGroup::Move, IDC_KEYLIST_LBLIDOUKEY, IDC_KEYLIST_LBLIDOUSETSUMEI, settings);
        Fill(KeyListGroup::Text, IDC_KEYLIST_LBLTEXTKEY, IDC_KEYLIST_LBLTEXTSETSUMEI, settings);
        Fill(KeyListGroup::General, IDC_KEYLIST_LBLZENPANKEY, IDC_KEYLIST_LBLZENPANSETSUMEI, settings);
        return true;
    }
    bool OnCommand(int id, int, HWND) override {
        if (id != IDC_KEYLIST_BTNOK && id != IDCANCEL && id != IDOK) return false;
        End(IDOK);
        return true;
    }

private:
    void Fill(KeyListGroup group, int firstKeyId, int firstDescriptionId, const Settings& settings) {
        std::vector<KeyListRow> rows = KeyListRows(group, settings.ShortCutKey, settings.ExitAfterOpen);
        for (size_t i = 0; i < rows.size(); ++i) {
            for (auto [id, text] :
                 {std::pair{firstKeyId, &rows[i].key}, std::pair{firstDescriptionId, &rows[i].description}}) {
                HWND label = Item(id + static_cast<int>(i));
                SetWindowTextW(label, text->c_str());
                EnableWindow(label, rows[i].enabled);
            }
        }
    }
};

}  // namespace

void ShowKeyListWindow(HWND owner) {
    KeyListDialog dialog;
    dialog.RunModal(IDD_KEYLIST, owner);
}

}  // namespace quibex
