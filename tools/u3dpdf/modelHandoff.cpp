#include "modelHandoff.h"

#include "progress.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// A hidden name beside the model: its directory is on its file system, where
// a hard link can be made; null when the directory cannot be written or the
// file system has no hard links.
std::unique_ptr<guardedFileC> linkBeside(const std::string& model, progressC& progress) {
    std::error_code ec;
    // link() would link a symbolic link itself rather than the model.
    const fs::path target = fs::canonical(model, ec);
    if (ec)
        return nullptr;
    progress.step("linking");
    const interruptHoldC hold;
    const std::string link =
        hostPlatform::createHardLink(target.string(), target.parent_path().string(), ".u3dpdf-", ".u3d");
    return link.empty() ? nullptr : std::make_unique<guardedFileC>(link);
}

}  // namespace

modelHandoffC::modelHandoffC(const std::string& model, progressC& progress) {
    // Only a regular file reads the same through another path; a pipe's
    // bytes can be read once, and a directory is reported by the copy.
    std::error_code ec;
    if (fs::is_regular_file(model, ec)) {
        if (hostPlatform::openFileView(model, view_)) {
            path_ = view_.path;
            return;
        }
        link_ = linkBeside(model, progress);
        if (link_) {
            path_ = link_->path();
            return;
        }
    }
    copy_ = std::make_unique<temporaryCopyC>(model, progress);
    path_ = copy_->path();
}

modelHandoffC::~modelHandoffC() { hostPlatform::closeFileView(view_); }
