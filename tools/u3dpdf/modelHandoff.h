// The model as the module gets it. The module deletes the U3D file it
// converts, and the user's model must survive that, whatever happens. A copy
// of a 1 GiB model costs about as much as the conversion, so the module gets
// the cheapest path that leads to the model's bytes and is not its name:
//  1. a view of the open model (Linux: /proc/self/fd/N): nothing is left to
//     remove however the process ends, even by SIGKILL, and the module's
//     attempt to delete it fails without harm;
//  2. else a hard link under a hidden name in the model's own directory
//     (Windows; a system without /proc), whose deletion leaves the model in
//     place;
//  3. else a copy in the temporary directory (temporaryCopy.h): a pipe, a
//     device, a file system without hard links, a directory the command may
//     not write.
// A link or a copy is removed when the conversion ends, fails or is
// interrupted (interruptGuard.h).
#pragma once

#include "hostPlatform.h"
#include "interruptGuard.h"
#include "temporaryCopy.h"

#include <memory>
#include <string>

class progressC;

class modelHandoffC {
public:
    // An input error when the model cannot be read (a copy reports why).
    modelHandoffC(const std::string& model, progressC& progress);
    ~modelHandoffC();
    modelHandoffC(const modelHandoffC&) = delete;
    modelHandoffC& operator=(const modelHandoffC&) = delete;

    // The U3D file to name in the request.
    const std::string& path() const { return path_; }

private:
    hostPlatform::fileViewS view_;
    std::unique_ptr<guardedFileC> link_;
    std::unique_ptr<temporaryCopyC> copy_;
    std::string path_;
};
