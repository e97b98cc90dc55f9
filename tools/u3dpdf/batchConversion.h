// Several models converted into one folder: each by a worker process (this
// program itself, with the convert command for that one model), a few at a
// time. A model that fails or crashes its worker takes no other with it.
#pragma once

#include <string>
#include <vector>

struct batchS {
    std::vector<std::string> models;
    std::string outputFolder;
    unsigned jobs = 1;
    // Options every worker gets after "convert MODEL -o OUT.pdf".
    std::vector<std::string> workerOptions;
};

// Where a model's PDF goes: the folder, the model's file name without its
// extension, ".pdf".
std::string batchOutputPath(const std::string& folder, const std::string& model);

// Converts every model into batch.outputFolder (created when missing), at
// most batch.jobs at once, and prints one line per model on standard
// output, in the order given, as soon as that model and every one before
// it are done: "MODEL -> OUT.pdf", or "MODEL: failed: REASON". Returns
// kExitConverted when all converted, kExitUsage when any failed. Two models
// whose PDFs would share a name are a usage error before anything runs.
int runBatchConversion(const batchS& batch);
