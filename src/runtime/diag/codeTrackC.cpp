#include "runtime/diag/codeTrackC.h"

#include "runtime/platform/platform.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Set while a logging operation runs. A logging call that arrives meanwhile
// (from the allocator under a message copy, say) is dropped rather than
// allowed to change the ring halfway. A plain word: the log serves the
// host's one calling thread.
int g_busy = 0;

class busyScopeC {
public:
    busyScopeC() : entered_(g_busy == 0) {
        if (entered_)
            g_busy = 1;
    }
    ~busyScopeC() {
        if (entered_)
            g_busy = 0;
    }
    bool entered() const { return entered_; }

private:
    bool entered_;
};

const char* kindText(int kind) {
    switch (kind) {
        case CT_COND: return "Cond=";
        case CT_FRAME_ENTER: return "Frame Enter";
        case CT_FRAME_LEAVE: return "Frame Leave";
        case CT_FNC_ENTER: return "Enter Fnc";
        case CT_FNC_DONE: return "Done Fnc (";
        case CT_EXCEPTION: return "Exception";
        default: return "";
    }
}

void writeLine(FILE* out, const codeTrackRecordS& r) {
    platform::LocalTime t = platform::toLocalTime(r.time);
    fprintf(out, "%u%u;%d:%d:%d:%d;%d;%s;%d;%s", static_cast<unsigned>(r.counter >> 32),
            static_cast<unsigned>(r.counter & 0xffffffffu), t.hour, t.minute, t.second,
            t.millisecond, static_cast<int>(r.thread), r.file ? r.file : "", r.line,
            kindText(r.kind));
    if (r.kind == CT_COND)
        fprintf(out, "%d", r.value);
    else if (r.kind == CT_FNC_DONE)
        fprintf(out, "%d)", r.value);
    if (r.message.length() > 0)
        fprintf(out, "(%s)", r.message.text());
    fputc('\n', out);
}

void clear(codeTrackRecordS& r) {
    r.kind = CT_EMPTY;
    r.file = nullptr;
    r.line = 0;
    r.value = 0;
    r.message = static_cast<const char*>(nullptr);
}

}  // namespace

codeTrackC::codeTrackC()
    : autoFlush_(platform::getEnv("QVCODETRACK_FLUSH") ? 1 : 0),
      ownerThread_(platform::threadId()) {}

void codeTrackC::record(int kind, const char* file, int line, const char* message, int value) {
    {
        busyScopeC busy;
        if (!busy.entered())
            return;
        // When the last slot is taken the ring is full: write it (if logging
        // is on) starting with that slot, which still holds the oldest record
        // of the ring, so that the file lists every record in order.
        codeTrackRecordS& slot = records_[next_];
        if (next_ == kRingSize - 1) {
            writeRing(false);
            next_ = 0;
        } else {
            ++next_;
        }
        clear(slot);
        slot.thread = platform::threadId();
        slot.kind = kind;
        slot.file = file;
        slot.line = line;
        slot.message = message;
        slot.value = value;
        slot.counter = platform::counter();
        slot.time = platform::wallClock();
    }
    if (autoFlush_)
        write(true);
}

void codeTrackC::frameEnter(const char* file, int line, const char* message) {
    record(CT_FRAME_ENTER, file, line, message, 0);
    busyScopeC busy;
    if (!busy.entered())
        return;
    qvCodeTrackFrameS& frame = frames_.append();
    frame.message = message;
    frame.file = file;
    frame.line = line;
}

void codeTrackC::frameLeave() {
    // An unpaired leave has no frame to describe: it is logged bare instead
    // of reading below the stack.
    if (frames_.count() == 0) {
        record(CT_FRAME_LEAVE, nullptr, 0, nullptr, 0);
        return;
    }
    const qvCodeTrackFrameS& top = frames_.at(frames_.count() - 1);
    record(CT_FRAME_LEAVE, top.file, top.line, top.message.data(), 0);
    busyScopeC busy;
    if (busy.entered() && frames_.count() > 0)
        frames_.removeAt(frames_.count() - 1);
}

void codeTrackC::exception(const char* file, int line) {
    force_ = 1;
    record(CT_EXCEPTION, file, line, nullptr, 0);
    write(true);
}

void codeTrackC::write(bool forced) {
    busyScopeC busy;
    if (busy.entered())
        writeRing(forced);
}

bool codeTrackC::enabled() const {
    if (force_ == 1 || configuredPath_.length() > 0)
        return true;
    const char* on = platform::getEnv("QVCODETRACK");
    return on && atoi(on) != 0;
}

void codeTrackC::writeRing(bool forced) {
    if (!forced && !enabled())
        return;
    logPath_ = codeTrackLogPath(configuredPath_, ownerThread_);
    if (FILE* out = fopen(logPath_.text(), "at+")) {
        for (int i = 0; i < kRingSize; ++i) {
            const codeTrackRecordS& r = records_[(next_ + i) % kRingSize];
            if (r.kind != CT_EMPTY)
                writeLine(out, r);
        }
        fclose(out);
    }
    resetAll();
}

void codeTrackC::resetAll() {
    for (codeTrackRecordS& r : records_)
        clear(r);
    next_ = 0;
}
