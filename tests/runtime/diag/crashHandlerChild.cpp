// A Windows process that crashes on request, for the crash handler tests:
// Win32 has no fork, so every crash is a process of its own.
//   crash_handler_child HOW HOOK
//     HOW   null-write | divide | abort | pure-virtual | recover-then-divide
//     HOOK  none       no crash handler
//           runtime    crashHandlerInstall() of the runtime linked in here
//           PATH       load the module at PATH, whose start-up installs it
// QVDBG_EXCEPTIONHANDLER, "tmp" and "temp" come from the environment the test
// gives the process. Before it crashes the child prints one line,
//   code <address of writeThroughNull> <its first 64 code bytes>
// so that the test can place the logged location and its code bytes.
#include "runtime/diag/crashHandlerC.h"

#include "../pureVirtualCall.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace crash_handler_child {

__attribute__((noinline)) void writeThroughNull() {
    volatile int* volatile target = nullptr;
    *target = 1;
}

__attribute__((noinline)) int divide(int a, int b) {
    volatile int x = a;
    volatile int y = b;
    return x / y;
}

// Where the program goes on after the access violation it recovered from:
// a division by zero that nobody handles.
[[noreturn]] __attribute__((noinline)) void afterRecovery() {
    ExitProcess(static_cast<UINT>(divide(1, 0) + 100));
}

// The program's own handler, behind the crash handler's in the chain: it
// recovers from access violations by going on in afterRecovery, on a fresh
// frame aligned as at a function's entry.
LONG WINAPI recover(EXCEPTION_POINTERS* pointers) {
    if (pointers->ExceptionRecord->ExceptionCode != EXCEPTION_ACCESS_VIOLATION)
        return EXCEPTION_CONTINUE_SEARCH;
    CONTEXT* context = pointers->ContextRecord;
    context->Rsp = ((context->Rsp - 256) & ~uint64_t{15}) - 8;
    context->Rip = reinterpret_cast<uint64_t>(&afterRecovery);
    return EXCEPTION_CONTINUE_EXECUTION;
}

int crash(const char* how) {
    if (strcmp(how, "null-write") == 0) {
        writeThroughNull();
    } else if (strcmp(how, "divide") == 0) {
        return divide(1, 0);
    } else if (strcmp(how, "abort") == 0) {
        abort();
    } else if (strcmp(how, "pure-virtual") == 0) {
        pure_virtual_call::Derived d;
        return d.value();
    } else if (strcmp(how, "recover-then-divide") == 0) {
        AddVectoredExceptionHandler(0, recover);
        writeThroughNull();
    } else {
        return 2;
    }
    return 0;
}

void printCode() {
    const auto* code = reinterpret_cast<const unsigned char*>(&writeThroughNull);
    printf("code %llx ", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(code)));
    for (int i = 0; i < 64; ++i)
        printf("%02x", code[i]);
    printf("\n");
    fflush(stdout);
}

}  // namespace crash_handler_child

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    const char* hook = argv[2];
    if (strcmp(hook, "runtime") == 0) {
        crashHandlerInstall();
    } else if (strcmp(hook, "none") != 0 && !LoadLibraryA(hook)) {
        fprintf(stderr, "cannot load %s (error %lu)\n", hook, GetLastError());
        return 2;
    }
    crash_handler_child::printCode();
    return crash_handler_child::crash(argv[1]) + 100;
}
