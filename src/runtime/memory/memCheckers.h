// What the pooled allocator tells a memory checker watching the process:
// AddressSanitizer in a sanitizer build, valgrind's memcheck when it runs
// the process.
//
// A checker knows the runtime heap's blocks by itself, but a pool page is
// one runtime heap block to it, in which a block's header, the bytes behind
// its data, the free slots and the page's control record are all fair game.
// So the allocator hides what the program must not touch (ASan's manual
// poisoning, memcheck's "no access"), announces each block it hands out and
// takes back (memcheck's malloc-like and free-like blocks), and shows its
// own bookkeeping to itself only for as long as it works on it. An overrun,
// a use after release or a release of a released block inside a pool is
// then reported by the checker as it would be for a runtime heap block.
//
// Without a checker every function here compiles to nothing (the Windows
// cross build, or a Linux build without valgrind's headers), and the
// allocator does not call them: memCheckerWatching() is false.
#pragma once

#include <cstddef>

// True in a sanitizer build, and in any build that valgrind runs; read once,
// when the allocator initialises.
bool memCheckerWatching();

// The n bytes at p are the allocator's: the program touching them is an
// error the checker reports.
void memCheckerHide(const void* p, size_t n);
// The n bytes at p may be read and written (as defined data) again.
void memCheckerShow(const void* p, size_t n);

// A block of n bytes at user was handed out: its bytes are accessible and,
// for memcheck, undefined until written.
void memCheckerBlockTaken(const void* user, size_t n);
// The block at user is released: every byte of it is hidden. For memcheck
// a block it does not know as live makes this an invalid release.
void memCheckerBlockReleased(const void* user);

// A pool page was taken from the runtime heap. Its blocks are the
// program's, the page itself is the allocator's: LeakSanitizer is told not
// to report it, since the page lists that reach it run through control
// records it does not search (it skips hidden memory), while the data of
// the blocks in the page are still searched for pointers.
void memCheckerPageMade(const void* page);

// Copies n bytes of memory that may be hidden, without the checker
// reporting the read and without changing what it hides: how the allocator
// reads the header of a pointer it is asked to release before it knows the
// pointer is one of its blocks.
void memCheckerPeek(const void* from, void* to, size_t n);
