#include "viewer/path_ellipsis.h"

namespace quibex {

namespace {
constexpr const wchar_t* kEllipsis = L"...";

// Largest n in [0, limit] for which make(n) fits; make(n) grows with n.
template <typename Make>
size_t LongestFitting(size_t limit, int width, const TextMeasure& measure, Make make, bool& any) {
    size_t lo = 0, hi = limit;
    any = measure(make(0)) <= width;
    if (!any) return 0;
    while (lo < hi) {
        size_t mid = lo + (hi - lo + 1) / 2;
        if (measure(make(mid)) <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}
}  // namespace

std::wstring CompactPathText(const std::wstring& path, int width, const TextMeasure& measure) {
    if (measure(path) <= width) return path;
    size_t slash = path.rfind(L'\\');
    std::wstring head = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
    std::wstring tail = slash == std::wstring::npos ? path : path.substr(slash);
    bool any = false;
    if (!head.empty()) {
        size_t n = LongestFitting(
            head.size() - 1, width, measure, [&](size_t k) { return head.substr(0, k) + kEllipsis + tail; }, any);
        if (any) return head.substr(0, n) + kEllipsis + tail;
    }
    size_t n = LongestFitting(
        tail.size(), width, measure, [&](size_t k) { return kEllipsis + tail.substr(0, k); }, any);
    return kEllipsis + tail.substr(0, n);
}

}  // namespace quibex
