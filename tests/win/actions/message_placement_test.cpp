// Which routines centre their message boxes over the window activated last
// (the viewer's texts and prints) and which use the plain system box (the
// archive routines, which may run before any window of ours is shown).
#include <gtest/gtest.h>

#include "actions/association.h"
#include "actions/external_tools.h"
#include "box_answerer.h"
#include "core/app_state.h"
#include "launch_fixture.h"

namespace quibex {
namespace {

class ActionsMessagePlacement : public LaunchTest {};

// Runs `action` with a message owner window off the screen centre, made on
// the same thread as the box so that nothing waits across threads.
SeenBox OnlyBoxWithOwner(const std::function<void()>& action, int answer, RECT& ownerRect) {
    auto boxes = RunAnsweringBoxes([&] {
        HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 40, 60, 400, 300, nullptr,
                                     nullptr, nullptr, nullptr);
        GetWindowRect(owner, &ownerRect);
        App().MessageOwner = owner;
        action();
        App().MessageOwner = nullptr;
        DestroyWindow(owner);
    }, {answer});
    EXPECT_EQ(boxes.size(), 1u);
    return boxes.empty() ? SeenBox{} : boxes[0];
}

bool CentredOver(const RECT& box, const RECT& owner) {
    auto mid = [](LONG a, LONG b) { return (a + b) / 2; };
    return std::abs(mid(box.left, box.right) - mid(owner.left, owner.right)) <= 1 &&
           std::abs(mid(box.top, box.bottom) - mid(owner.top, owner.bottom)) <= 1;
}

TEST_F(ActionsMessagePlacement, TextRoutinesCentreArchiveRoutinesDoNot) {
    const std::wstring none = MakeFile(L"n.qxnone");
    Settings& s = AppSettings();
    s.PrtConfirm = 1;
    struct Case {
        const char* name;
        std::function<void()> action;
        bool centred;
        int answer = IDOK;
    } cases[] = {
        {"text by association", [&] { OpenTextByAssociation(none); }, true},
        {"editor not set", [&] { OpenTextWithEditor(none); }, true},
        {"print question", [&] { PrintTextByAssociation(none); }, true, IDNO},
        {"archive by association", [&] { OpenArchiveByAssociation(none); }, false},
        {"archiver tool not set", [&] { OpenArchiveWithTool(none); }, false},
    };
    for (const auto& c : cases) {
        RECT owner{};
        SeenBox box = OnlyBoxWithOwner(c.action, c.answer, owner);
        EXPECT_EQ(CentredOver(box.rect, owner), c.centred)
            << c.name << ": box " << box.rect.left << "," << box.rect.top << " owner " << owner.left << ","
            << owner.top;
    }
}

}  // namespace
}  // namespace quibex
