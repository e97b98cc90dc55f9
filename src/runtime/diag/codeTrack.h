// The code tracking log: the module's flight recorder.
//
// Code announces steps, conditions, function entries and exits and nested
// frames; each announcement becomes a record in an in-memory ring of the last
// 10000 records. The ring reaches a file ("codetrack.<thread>.<module>.txt"
// in the temporary directory) only when QVCODETRACK switches logging on, when
// QVCODETRACK_FLUSH asks for every record at once, or when an exception record
// forces it, so a normal run writes nothing and a failed one leaves its last
// steps behind, oldest first.
//
// The entry points work on the module's one log and do nothing before
// codeTrackStartup() and after codeTrackShutdown(). They never throw and never
// report errors.
#pragma once

// Constructs the module's log; the module's start-up sequence calls it first
// of all runtime services. Reads QVCODETRACK_FLUSH now, QVCODETRACK at every
// write.
void codeTrackStartup();
// Writes the ring (not forced: only when logging is on or was forced by an
// exception) and destroys the log.
void codeTrackShutdown();

// A step: a record with the message.
void codeTrackMessage(const char* file, int line, const char* message);
// A step without message.
void codeTrackPoint(const char* file, int line);
// A condition; returns the value unchanged, also while the log is down.
int codeTrackCond(const char* file, int line, int value);
// Opens a frame (message may be null); codeTrackFrameLeave closes the most
// recent one and logs it with the data of its opening.
void codeTrackFrameEnter(const char* file, int line, const char* message);
void codeTrackFrameLeave();
// Function entry (done == 0) or exit; the second form carries a value.
void codeTrackFnc(const char* file, int line, int done);
void codeTrackFncValue(const char* file, int line, int done, int value);
// Records an exception and writes the ring; from now on every write of the
// ring goes to the file.
void codeTrackException(const char* file, int line);
// Writes the ring now, whether logging is on or not.
void codeTrackFlush();
// The file last written (empty before the first write), or null while the
// log is down.
const char* codeTrackGetPath();
// Makes every later write go to this file (and switches logging on); null or
// empty returns to the file in the temporary directory.
void codeTrackSetPath(const char* path);

// Keeps a frame open for the lifetime of a scope.
class codeTrackFrameGuardC {
public:
    codeTrackFrameGuardC(const char* file, int line, const char* message) {
        codeTrackFrameEnter(file, line, message);
    }
    ~codeTrackFrameGuardC() { codeTrackFrameLeave(); }
    codeTrackFrameGuardC(const codeTrackFrameGuardC&) = delete;
    codeTrackFrameGuardC& operator=(const codeTrackFrameGuardC&) = delete;
};
