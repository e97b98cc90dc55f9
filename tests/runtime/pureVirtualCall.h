// Makes a real pure virtual call, for the tests of what happens then.
#pragma once

namespace pure_virtual_call {

// External linkage, so that the compiler cannot see every override and must
// make the virtual call.
struct Base;
inline Base* volatile g_constructing = nullptr;
inline volatile int g_sink = 0;

struct Base {
    Base();
    virtual ~Base() = default;
    virtual int value() = 0;
};

// Called from Base's constructor, when the object's vtable is still Base's.
__attribute__((noinline)) inline int callThroughBase() { return g_constructing->value(); }

inline Base::Base() {
    g_constructing = this;
    g_sink = callThroughBase();
}

struct Derived : Base {
    int value() override { return 1; }
};

}  // namespace pure_virtual_call
