// Message boxes block their thread. These helpers run the code under test on
// a second thread, find each box it shows, read it and press a button.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct SeenBox {
    std::wstring title;
    std::wstring text;  // the Static with id 65535
    bool hasOk = false, hasYes = false, hasNo = false;
    bool errorIcon = false, questionIcon = false;
    RECT rect{};  // where the box stood once activated
};

// Runs `action` on its own thread. The n-th box it shows is answered with
// answers[n] (IDOK once the list runs out). Returns the boxes in order.
// A box still open after `timeoutMs` is closed and reported as a failure.
std::vector<SeenBox> RunAnsweringBoxes(const std::function<void()>& action, std::vector<int> answers = {},
                                       DWORD timeoutMs = 30000);
