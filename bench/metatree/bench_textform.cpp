// Braced text form costs at the sizes a large model brings: writing and
// parsing a file of about 100 MB (wide records, each with a nested branch,
// plus one very deep branch), and a load + save round trip against reading
// and writing the same bytes with plain stdio, measured in the same run.
// The same at about 10 MB shows whether the cost grows linearly.
#include "metatree/metaTreeTextReader.h"
#include "metatree/metaTreeTextSave.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kRecordDepth = 12;
constexpr int kDeepBranch = 100000;

double seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

template <class F>
double timed(F&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return seconds(std::chrono::steady_clock::now() - start);
}

// Appends children behind the last one directly, as the reader does.
struct appender {
    metaTreeC* parent;
    metaTreeC* last = nullptr;

    metaTreeC* add(metaTreeC* node) {
        if (last)
            node->linkAfter(last);
        else
            node->prependTo(parent);
        last = node;
        return node;
    }
};

metaTreeC* key(const char* text) { return createKeyNode(text); }
metaTreeC* number(double x) { return new metaTreeC(metaValueC(MV_DOUBLE, metaSrcPosS::none(), x)); }

// One record: a name with escapes, a list of numbers (whole and fractional),
// a few keyed fields and a branch kRecordDepth levels deep.
void addRecord(appender& list, int i) {
    metaTreeC* record = list.add(key("ITEM"));
    appender fields{record};
    fields.add(key("NAME"))->addString(("part \"" + std::to_string(i) + "\"\tof the model\n").c_str());
    metaTreeC* values = fields.add(key("VALUES"));
    appender numbers{values};
    for (int k = 0; k < 8; ++k)
        numbers.add(number(k % 2 ? i * 0.001 + k / 3.0 : i + k));
    fields.add(key("ID"))->addInteger(i);
    fields.add(key("FLAGS"))->addKey(i % 3 ? "VISIBLE" : "HIDDEN");
    metaTreeC* level = fields.add(key("BRANCH"));
    for (int d = 0; d < kRecordDepth; ++d)
        level = level->addKey(d % 2 ? "NODE" : "GROUP");
    level->addString("leaf");
}

// A tree whose compact text is about targetBytes long.
metaTreeC* buildTree(size_t targetBytes, size_t bytesPerRecord) {
    metaTreeC* root = key("MODEL");
    appender records{root};
    metaTreeC* deep = records.add(key("DEEP"));
    for (int d = 0; d < kDeepBranch; ++d)
        deep = deep->addKey("D");
    deep->addInteger(1);
    const size_t n = targetBytes / bytesPerRecord;
    for (size_t i = 0; i < n; ++i)
        addRecord(records, static_cast<int>(i));
    return root;
}

size_t measureRecordBytes() {
    metaTreeC* root = key("M");
    appender records{root};
    for (int i = 0; i < 1000; ++i)
        addRecord(records, 100000 + i);
    metaObjectC tree(root, true);
    return static_cast<size_t>(saveTreeAsString(tree, true, false).length()) / 1000;
}

long fileBytes(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return -1;
    std::fseek(f, 0, SEEK_END);
    const long n = std::ftell(f);
    std::fclose(f);
    return n;
}

// The baseline: the same bytes read and written with plain stdio.
bool stdioCopy(const std::string& from, const std::string& to) {
    std::FILE* in = std::fopen(from.c_str(), "rb");
    if (!in)
        return false;
    std::vector<char> bytes(static_cast<size_t>(fileBytes(from)));
    const bool read = std::fread(bytes.data(), 1, bytes.size(), in) == bytes.size();
    std::fclose(in);
    std::FILE* out = std::fopen(to.c_str(), "w");
    if (!out)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && read && written;
}

struct resultS {
    double megabytes;
    double write;
    double parse;
    double roundTrip;
    double stdio;
};

bool run(size_t targetBytes, size_t bytesPerRecord, const std::string& dir, resultS& r) {
    const std::string source = dir + "/bench_textform.txt";
    const std::string copy = dir + "/bench_textform.copy.txt";
    const std::string plain = dir + "/bench_textform.stdio.txt";
    bool ok = true;
    {
        metaObjectC tree(buildTree(targetBytes, bytesPerRecord), true);
        r.write = timed([&] { ok = saveTreeToFile(tree, source.c_str(), false, false) == 1; });
    }
    r.megabytes = fileBytes(source) / 1e6;
    metaTreeTextReaderC reader;
    r.parse = timed([&] {
        metaObjectC loaded = reader.loadTreeFromFile(source.c_str(), true);
        ok = ok && loaded.valid();
    });
    r.roundTrip = timed([&] {
        metaObjectC loaded = reader.loadTreeFromFile(source.c_str(), true);
        ok = ok && saveTreeToFile(loaded, copy.c_str(), false, false) == 1;
    });
    r.stdio = timed([&] { ok = ok && stdioCopy(source, plain); });
    ok = ok && fileBytes(copy) == fileBytes(source);
    std::remove(source.c_str());
    std::remove(copy.c_str());
    std::remove(plain.c_str());
    return ok;
}

void print(const resultS& r) {
    std::printf("%8.1f MB  write %6.1f MB/s  parse %6.1f MB/s  load+save %6.2f s  stdio %6.3f s  ratio %6.1f\n",
                r.megabytes, r.megabytes / r.write, r.megabytes / r.parse, r.roundTrip, r.stdio,
                r.roundTrip / r.stdio);
}

}  // namespace

int main() {
    const char* tmp = std::getenv("TMPDIR");
    const std::string dir = tmp && *tmp ? tmp : "/tmp";
    const size_t bytesPerRecord = measureRecordBytes();
    std::printf("braced text form, compact layout (%zu bytes per record, branch of %d levels)\n", bytesPerRecord,
                kDeepBranch);
    resultS small{}, large{};
    // The first run also pays for the process warming up (the allocator's
    // first pages, the heap growing): it is repeated and only the second
    // counts.
    if (!run(10u << 20, bytesPerRecord, dir, small) || !run(10u << 20, bytesPerRecord, dir, small) ||
        !run(100u << 20, bytesPerRecord, dir, large)) {
        std::fprintf(stderr, "bench_textform: a save or load failed\n");
        return 1;
    }
    print(small);
    print(large);
    std::printf("linearity: 10x the size took %.1fx the parse time and %.1fx the load+save time\n",
                large.parse / small.parse, large.roundTrip / small.roundTrip);
    return 0;
}
