// The module's one code tracking log and the entry points over it.
//
// The log lives in static storage but is constructed and destroyed
// explicitly, so that the module's start-up sequence fixes its place among
// the other runtime services (first up, last down) instead of the link order.
#include "runtime/diag/codeTrack.h"

#include "runtime/diag/codeTrackC.h"

#include <new>

namespace {

alignas(codeTrackC) unsigned char g_storage[sizeof(codeTrackC)];
codeTrackC* g_log = nullptr;
// 1 while the log exists; every entry point does nothing while it is 0.
int g_alive = 0;

codeTrackC* live() { return g_alive ? g_log : nullptr; }

}  // namespace

void codeTrackStartup() {
    if (g_alive)
        return;
    g_log = new (g_storage) codeTrackC;
    g_alive = 1;
}

void codeTrackShutdown() {
    if (!g_alive)
        return;
    g_log->write(false);
    // Down before the buffers go, so that whatever their release triggers
    // finds the log closed.
    g_alive = 0;
    g_log->~codeTrackC();
    g_log = nullptr;
}

void codeTrackMessage(const char* file, int line, const char* message) {
    if (codeTrackC* log = live())
        log->record(CT_MESSAGE, file, line, message, 0);
}

void codeTrackPoint(const char* file, int line) {
    if (codeTrackC* log = live())
        log->record(CT_MESSAGE, file, line, nullptr, 0);
}

int codeTrackCond(const char* file, int line, int value) {
    if (codeTrackC* log = live())
        log->record(CT_COND, file, line, nullptr, value);
    return value;
}

void codeTrackFrameEnter(const char* file, int line, const char* message) {
    if (codeTrackC* log = live())
        log->frameEnter(file, line, message);
}

void codeTrackFrameLeave() {
    if (codeTrackC* log = live())
        log->frameLeave();
}

void codeTrackFnc(const char* file, int line, int done) {
    codeTrackFncValue(file, line, done, 0);
}

void codeTrackFncValue(const char* file, int line, int done, int value) {
    if (codeTrackC* log = live())
        log->record(done ? CT_FNC_DONE : CT_FNC_ENTER, file, line, nullptr, value);
}

void codeTrackException(const char* file, int line) {
    if (codeTrackC* log = live())
        log->exception(file, line);
}

void codeTrackFlush() {
    if (codeTrackC* log = live())
        log->write(true);
}

const char* codeTrackGetPath() {
    codeTrackC* log = live();
    return log ? log->logPath().text() : nullptr;
}

void codeTrackSetPath(const char* path) {
    if (codeTrackC* log = live())
        log->setPath(path);
}
