#pragma once
// The checks behind "select every defective picture / audio file": the reason a row's file
// cannot be used, or "" when it is sound or not a file of that kind.
#include <string>

namespace twinex {
struct ResultFile;
}

namespace twinex::similar {

// Loads the whole picture of a file with a picture extension; the loader's error when it fails.
std::string PictureDefect(const ResultFile& row);
// Reads duration, bit rate and sampling rate of a music or video file; what is broken.
std::string AudioDefect(const ResultFile& row);

}  // namespace twinex::similar
