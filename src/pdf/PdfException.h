// The single error type of the PDF writer.
#pragma once

#include <exception>

// Codes carried by PdfException: each names a kind of failure, so that a
// caller can react without parsing the message.
enum PdfErrorCode : int {
    PdfErrTableGrowth = -1,     // the cross-reference table cannot grow
    PdfErrWrite = -3,           // an output file cannot be opened or written
    PdfErrRange = -4,           // a number does not fit its output form
    PdfErrInvalid = -5,         // invalid argument or state
    PdfErrColour = -6,          // colour component out of range
    PdfErrCompress = -8,        // zlib refused to compress
    PdfErrNoStream = -9,        // no output stream to write to
    PdfErrDictStorage = -10,    // a dictionary cannot store an element
};

// A formatted message (printf rules, cut to 511 characters) and a negative
// code. The writer reports every failure with it, never with return values;
// the fixed buffer keeps the exception itself from allocating.
class PdfException : public std::exception {
public:
    PdfException(int code, const char* format, ...)
        __attribute__((format(printf, 3, 4)));

    const char* what() const noexcept override { return m_message; }
    int GetCode() const { return m_code; }
    // The system's error number (errno) behind a failed file operation, 0
    // when there was none: a caller can then say why in the system's words.
    int GetSystemError() const { return m_systemError; }
    void SetSystemError(int error) { m_systemError = error; }

private:
    char m_message[512];
    int m_code;
    int m_systemError = 0;
};
