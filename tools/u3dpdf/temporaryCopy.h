// A private copy of a file in the temporary directory, for a consumer that
// deletes the file it is given: the module removes the U3D file of a
// successful conversion, and the user's model must survive that.
#pragma once

#include <string>

class temporaryCopyC {
public:
    // Copies source into a new file of the temporary directory. An input
    // error when the source cannot be read or the copy cannot be written;
    // nothing is left behind then.
    explicit temporaryCopyC(const std::string& source);
    // Removes whatever of the copy is still there: all of it after a failed
    // conversion, nothing after one that consumed it.
    ~temporaryCopyC();
    temporaryCopyC(const temporaryCopyC&) = delete;
    temporaryCopyC& operator=(const temporaryCopyC&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};
