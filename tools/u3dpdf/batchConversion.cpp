#include "batchConversion.h"

#include "cliExit.h"
#include "hostPlatform.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

namespace fs = std::filesystem;

namespace {

// The reason a worker gives: its last line on standard error without the
// program's prefix, or how it ended when it said nothing.
std::string failureReason(const hostPlatform::childResultS& child) {
    if (!child.exited)
        return child.failure;
    std::string text = child.errorOutput;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    const std::size_t lineStart = text.find_last_of('\n');
    if (lineStart != std::string::npos)
        text.erase(0, lineStart + 1);
    static const std::string kPrefix = "u3dpdf: ";
    if (text.compare(0, kPrefix.size(), kPrefix) == 0)
        text.erase(0, kPrefix.size());
    return text.empty() ? "exit status " + std::to_string(child.status) : text;
}

void refuseSharedOutputs(const batchS& batch) {
    std::map<std::string, std::string> modelOf;
    for (const std::string& model : batch.models) {
        const std::string output = batchOutputPath(batch.outputFolder, model);
        const auto [taken, fresh] = modelOf.emplace(output, model);
        if (!fresh)
            usageError("convert", taken->second + " and " + model + " would both be written to " + output);
    }
}

void printLine(const std::string& line) {
    const std::string text = line + "\n";
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
        inputError("cannot write to standard output");
}

}  // namespace

std::string batchOutputPath(const std::string& folder, const std::string& model) {
    return (fs::path(folder) / fs::path(model).stem()).string() + ".pdf";
}

int runBatchConversion(const batchS& batch) {
    refuseSharedOutputs(batch);
    std::error_code ec;
    fs::create_directories(batch.outputFolder, ec);
    if (!fs::is_directory(batch.outputFolder))
        inputError("cannot make the output folder " + batch.outputFolder + (ec ? ": " + ec.message() : ""));
    const std::string self = hostPlatform::executablePath();
    if (self.empty())
        inputError("cannot find the u3dpdf executable to run its workers");

    const std::size_t count = batch.models.size();
    std::vector<std::optional<std::string>> lines(count);
    std::vector<bool> failed(count, false);
    std::mutex done;
    std::condition_variable finished;
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            const std::string& model = batch.models[i];
            const std::string output = batchOutputPath(batch.outputFolder, model);
            // -o with the folder: the worker writes FOLDER/NAME.pdf, and a
            // folder already standing at that path fails its model.
            std::vector<std::string> args{"convert", model, "-o", batch.outputFolder};
            args.insert(args.end(), batch.workerOptions.begin(), batch.workerOptions.end());
            const hostPlatform::childResultS child = hostPlatform::runChild(self, args);
            const bool ok = child.exited && child.status == kExitConverted;
            const std::lock_guard<std::mutex> lock(done);
            lines[i] = ok ? model + " -> " + output : model + ": failed: " + failureReason(child);
            failed[i] = !ok;
            finished.notify_one();
        }
    };
    // Joined on the way out, also when printing fails.
    std::vector<std::jthread> workers;
    const unsigned jobs = static_cast<unsigned>(std::min<std::size_t>(batch.jobs, count));
    for (unsigned j = 0; j < jobs; ++j)
        workers.emplace_back(work);

    bool anyFailed = false;
    for (std::size_t i = 0; i < count; ++i) {
        std::string line;
        {
            std::unique_lock<std::mutex> lock(done);
            finished.wait(lock, [&] { return lines[i].has_value(); });
            line = *lines[i];
            anyFailed = anyFailed || failed[i];
        }
        printLine(line);
    }
    return anyFailed ? kExitUsage : kExitConverted;
}
