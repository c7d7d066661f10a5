#include "library_core.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <optional>

#include "ansi.h"
#include "command_line.h"
#include "password_dialog.h"
#include "progress_window.h"

namespace arcdll {

namespace {

// Marks the library busy for one call; a second call meanwhile is refused.
class RunningGuard {
public:
    explicit RunningGuard(std::atomic<bool>& flag) : flag_(flag) {
        bool expected = false;
        acquired_ = flag_.compare_exchange_strong(expected, true);
    }
    ~RunningGuard() {
        if (acquired_) flag_.store(false);
    }
    bool acquired() const { return acquired_; }

private:
    std::atomic<bool>& flag_;
    bool acquired_;
};

// Receives a whole archive's data only to learn whether every CRC matches.
class DiscardTarget final : public arc::ExtractTarget, arc::OutputSink {
public:
    arc::OutputSink* begin(size_t) override { return this; }
    void end(size_t, arc::Status s) override {
        if (!arc::ok(s)) failed = true;
    }
    bool write(const uint8_t*, size_t) override { return true; }
    bool failed = false;
};

void writeReport(const std::string& text, LPSTR out, DWORD size) {
    if (!out || size == 0) return;
    std::string ansi = utf8ToAnsi(text);
    copyAnsiField(ansi, out, size);
}

std::string currentFolder() {
    wchar_t buf[MAX_PATH * 2];
    DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(std::size(buf)), buf);
    return n > 0 && n < std::size(buf) ? wideToUtf8(std::wstring(buf, n)) : std::string(".");
}

// Shows the progress window once an extraction has run this long, so quick
// ones never flash a window.
constexpr ULONGLONG kProgressDelayMs = 500;

}  // namespace

std::unique_ptr<arc::ByteSource> openAnsiFile(LPCSTR path) {
    if (!path || !*path) return nullptr;
    return arc::openFileSource(ansiToUtf8(path));
}

BOOL Library::checkArchive(LPCSTR path, int mode) noexcept {
    try {
        auto src = openAnsiFile(path);
        if (!src) return FALSE;
        int level = mode & 3;
        if (level == kCheckRapid) return arc::looksLikeArchive(*src, traits_.format) ? TRUE : FALSE;
        arc::Status error = arc::Status::Ok;
        auto archive = arc::openArchive(*src, traits_.format, &error, arc::partsBeside(ansiToUtf8(path)), ansiToUtf8(path));
        if (!archive) return FALSE;
        if (level < kCheckFullCrc) return TRUE;
        const auto& members = archive->members();
        std::vector<bool> all(members.size());
        for (size_t i = 0; i < members.size(); ++i) all[i] = !members[i].isFolder;
        DiscardTarget target;
        return arc::ok(archive->extract(all, target)) && !target.failed ? TRUE : FALSE;
    } catch (...) {
        return FALSE;
    }
}

int Library::command(HWND owner, LPCSTR cmdLine, LPSTR out, DWORD outSize) noexcept {
    RunningGuard guard(running_);
    if (!guard.acquired()) return kErrAlreadyRunning;
    std::string report;
    int result;
    // The busy cursor the caller asked for with SetCursorMode, restored afterwards.
    const bool busyCursor = cursorMode_.load();
    HCURSOR previousCursor = busyCursor ? SetCursor(LoadCursorW(nullptr, IDC_WAIT)) : nullptr;
    try {
        result = runCommand(owner, ansiToUtf8(cmdLine), report);
    } catch (const std::bad_alloc&) {
        result = kErrMoreHeapMemory;
        report = "out of memory";
    } catch (...) {
        result = static_cast<int>(arc::Status::CannotRead);
        report = "internal error";
    }
    if (busyCursor) SetCursor(previousCursor);
    try {
        writeReport(report, out, outSize);
    } catch (...) {
        if (out && outSize) out[0] = '\0';
    }
    return result;
}

int Library::runCommand(HWND owner, const std::string& utf8, std::string& report) {
    arc::ExtractCommand cmd;
    arc::Status parsed = arc::parseCommandLine(utf8, traits_.format, &cmd);
    if (!arc::ok(parsed)) {
        report = parsed == arc::Status::CommandName ? "unknown command" : "no archive named";
        return static_cast<int>(parsed);
    }
    std::unique_ptr<arc::ByteSource> src = arc::openFileSource(cmd.archive);
    if (!src) {
        std::wstring w = utf8ToWide(cmd.archive);
        bool exists = !w.empty() && GetFileAttributesW(w.c_str()) != INVALID_FILE_ATTRIBUTES;
        report = "cannot open " + cmd.archive;
        return exists ? kErrArcFileOpen : kErrNotFindArcFile;
    }
    arc::Status error = arc::Status::Ok;
    std::unique_ptr<arc::Archive> archive = arc::openArchive(*src, traits_.format, &error, arc::partsBeside(cmd.archive), cmd.archive);
    if (!archive) {
        report = "not a readable archive: " + cmd.archive;
        return arc::ok(error) ? kErrNotArcFile : static_cast<int>(error);
    }
    std::vector<bool> wanted = arc::selectMembers(archive->members(), cmd.patterns, cmd.rule);

    arc::ExtractOptions options;
    options.overwrite = cmd.overwrite;
    options.restoreAttributes = cmd.restoreAttributes;
    // ZIP passwords are bytes in the writer's code page: "-P" goes back to
    // the system code page it arrived in.
    // Otherwise the user is asked, when the caller gave a window to own the question.
    std::optional<arc::GivenPassword> given;
    std::optional<PasswordDialog> dialog;
    if (cmd.password)
        options.passwords = &given.emplace(utf8ToAnsi(*cmd.password));
    else if (canAskFor(owner))
        options.passwords = &dialog.emplace(owner);
    std::unique_ptr<ProgressWindow> window;
    const ULONGLONG start = GetTickCount64();
    arc::ProgressCallback progress;
    if (cmd.showProgress) {
        progress = [&](const arc::ExtractProgress& p) {
            if (!window && GetTickCount64() - start >= kProgressDelayMs) window = std::make_unique<ProgressWindow>(owner);
            if (window) window->update(p.doneBytes, p.totalBytes, utf8ToWide(p.member));
            return true;
        };
    }
    std::string folder = cmd.outputFolder.empty() ? currentFolder() : cmd.outputFolder;
    arc::ExtractResult r = arc::extractToFolder(*archive, wanted, folder, options, progress);
    window.reset();

    report = std::to_string(r.written.size()) + " file(s) extracted";
    for (const std::string& name : r.written) report += "\r\n  " + name;
    if (!arc::ok(r.status)) {
        char code[32];
        snprintf(code, sizeof code, "error 0x%04X", static_cast<unsigned>(r.status));
        std::string head = code;
        for (const std::string& part : r.missingParts) head += "\r\nmissing part of the archive: " + part;
        report = head + "\r\n" + report;
    }
    return static_cast<int>(r.status);
}

}  // namespace arcdll
