// The code tracking log object behind the codeTrack* entry points: the ring
// of records, the stack of open frames and the writing of the ring.
#pragma once

#include "runtime/memory/pageMemT.h"
#include "runtime/str/str.h"

#include <cstdint>

// Record kinds; the values appear in no file, the kind texts do.
enum codeTrackKindE {
    CT_EMPTY = 0,
    CT_MESSAGE = 1,
    CT_COND = 2,
    CT_FRAME_ENTER = 3,
    CT_FRAME_LEAVE = 4,
    CT_FNC_ENTER = 5,
    CT_FNC_DONE = 6,
    CT_EXCEPTION = 7,
};

struct codeTrackRecordS {
    uint64_t counter = 0;      // platform::counter() at recording
    uint64_t time = 0;         // platform::wallClock() at recording
    int kind = CT_EMPTY;
    const char* file = nullptr;  // not copied: callers pass literals
    int line = 0;
    int value = 0;             // condition (kind 2) or result (kind 6)
    str message;
    uint32_t thread = 0;
};

struct qvCodeTrackFrameS {
    str message;
    const char* file = nullptr;
    int line = 0;
};

class codeTrackC {
public:
    static constexpr int kRingSize = 10000;

    codeTrackC();
    codeTrackC(const codeTrackC&) = delete;
    codeTrackC& operator=(const codeTrackC&) = delete;

    // Stores one record in the ring; dropped while another logging operation
    // runs. With auto flush the ring is written right away.
    void record(int kind, const char* file, int line, const char* message, int value);
    void frameEnter(const char* file, int line, const char* message);
    void frameLeave();
    void exception(const char* file, int line);
    // Writes the ring when forced or when logging is on, then empties it;
    // otherwise keeps it.
    void write(bool forced);

    const str& logPath() const { return logPath_; }
    void setPath(const char* path) { configuredPath_ = path; }
    uint32_t openFrames() const { return frames_.count(); }

private:
    bool enabled() const;
    void writeRing(bool forced);
    void resetAll();

    int autoFlush_;
    int force_ = 0;
    str logPath_;
    str configuredPath_;
    uint32_t ownerThread_;
    int next_ = 0;
    codeTrackRecordS records_[kRingSize];
    pageMemT<qvCodeTrackFrameS, 3> frames_;
};

// The file the ring goes to: the configured path when there is one, else
// "codetrack.<owner thread>.<module file name>.txt" in the first non-empty
// directory of the variables temp, tmp, TEMP, TMP or the platform's default.
str codeTrackLogPath(const str& configuredPath, uint32_t ownerThread);
