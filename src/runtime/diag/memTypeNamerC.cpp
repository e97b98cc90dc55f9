#include "runtime/diag/memTypeNamerC.h"

#include "runtime/platform/platform.h"

#include <cstring>

namespace {

// The first bytes of a function built with frame pointers: "push rbp"
// (0x55), on x86-64 possibly behind the "endbr64" marker that control-flow
// protection puts at every function entry.
bool startsLikeFunction(uintptr_t entry) {
    static const unsigned char kEndbr64[] = {0xf3, 0x0f, 0x1e, 0xfa};
    unsigned char code[5] = {};
    const size_t n = platform::readMemory(reinterpret_cast<const void*>(entry), code, sizeof code);
    if (n >= 1 && code[0] == 0x55)
        return true;
    return n == sizeof code && std::memcmp(code, kEndbr64, sizeof kEndbr64) == 0 && code[4] == 0x55;
}

}  // namespace

const char* memTypeNamerC::name(const void* data, size_t size) {
    if (!typeInfo_)
        return "unk";
    // A block too small for a table pointer holds no object with one.
    uintptr_t table = 0;
    if (size < sizeof table)
        return "array";
    std::memcpy(&table, data, sizeof table);
    auto found = byTable_.find(table);
    if (found == byTable_.end())
        found = byTable_.emplace(table, nameOfTable(table)).first;
    return found->second.c_str();
}

// The table's first entry must be the start of a function. The code bytes
// alone cannot tell on this platform: optimised leaf functions push no frame
// pointer (memManInterfaceC::memSystem, the first entry of every managed
// object, starts with a lea). A function start is therefore also recognised
// by the symboliser placing a symbol exactly there; the byte test remains
// for code it has no symbol for, which is then a "class" without name.
std::string memTypeNamerC::nameOfTable(uintptr_t table) {
    uintptr_t entry = 0;
    if (platform::readMemory(reinterpret_cast<const void*>(table), &entry, sizeof entry) !=
            sizeof entry ||
        !platform::isExecutable(reinterpret_cast<const void*>(entry)))
        return "array";
    platform::FrameInfo info;
    if (platform::symbolize(entry, info) && info.symbol[0] != '\0' && info.symbolAddress == entry) {
        std::string name = classOf(info.symbol);
        return name.empty() ? "unk" : name;
    }
    return startsLikeFunction(entry) ? "class" : "array";
}

std::string memTypeNamerC::classOf(const char* symbol) {
    std::string name(symbol);
    // The symboliser gives the full signature, "ns::cls::fn(int) const":
    // the parameter list is the last balanced pair of parentheses.
    const size_t close = name.rfind(')');
    if (close != std::string::npos) {
        int depth = 0;
        for (size_t i = close + 1; i-- > 0;) {
            if (name[i] == ')')
                ++depth;
            if (name[i] == '(' && --depth == 0) {
                name.resize(i);
                break;
            }
        }
    }
    size_t cut = std::string::npos;
    int angle = 0;
    for (size_t i = 0; i + 1 < name.size(); ++i) {
        if (name[i] == '<')
            ++angle;
        if (name[i] == '>' && angle > 0)
            --angle;
        if (angle == 0 && name[i] == ':' && name[i + 1] == ':')
            cut = i++;
    }
    if (cut != std::string::npos && cut != 0)
        name.resize(cut);
    return name;
}
