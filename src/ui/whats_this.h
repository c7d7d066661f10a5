// What's This help for a dialog: the topic of a control shows in a popup
// beside it when the right mouse button is released over a label, check box,
// option button or button, after the title bar's "?" button and a click on
// any control, and with F1 on the focused control. Text boxes keep their own
// right-click menu.
#pragma once

#include <windows.h>

#include <span>

namespace quibex {

struct ControlTopic {
    int controlId;
    int topic;
};

// Shows the help topic `topic` beside `control`, from the pointer's x; false
// when there is no such topic. Shows nothing while the built-in help is
// switched off (an archive is shown).
bool ShowControlHelp(HWND control, int topic, POINT pointer);

class WhatsThis {
public:
    // `topics` must outlive this object.
    explicit WhatsThis(std::span<const ControlTopic> topics) : topics_(topics) {}

    // A message of `dialog`; true when it was help's, with the dialog
    // procedure's result.
    bool HandleMessage(HWND dialog, UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result);
    // True after the "?" button until the next click.
    bool Picking() const { return picking_; }
    void StopPicking();

private:
    int TopicOf(HWND control) const;  // 0 when it has none
    // The smallest visible control (group boxes aside) under a screen point.
    static HWND ControlAt(HWND dialog, POINT screen);
    void Show(HWND control, POINT pointer, bool evenWithoutTopic);

    std::span<const ControlTopic> topics_;
    bool picking_ = false;
};

}  // namespace quibex
