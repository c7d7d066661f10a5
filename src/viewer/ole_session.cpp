#include "viewer/ole_session.h"

#include "core/lazy_ole32.h"

namespace quibex {
namespace {

enum class OleState { NotTried, Started, Failed };
OleState g_ole = OleState::NotTried;

}  // namespace

bool StartOle() {
    if (g_ole == OleState::NotTried)
        g_ole = SUCCEEDED(lazy::OleInitialize(nullptr)) ? OleState::Started : OleState::Failed;
    return g_ole == OleState::Started;
}

bool OleStarted() { return g_ole == OleState::Started; }

void EndOle() {
    if (g_ole != OleState::Started) return;
    lazy::OleUninitialize();
    g_ole = OleState::NotTried;
}

}  // namespace quibex
