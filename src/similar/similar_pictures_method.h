#pragma once
// The similar-pictures search (method 2) as a search method of the engine: each picture is
// hashed (or its hash taken from the checksum database), its size fills the picture columns,
// and it is grouped with the first earlier picture that looks alike.
#include <string>

namespace twinex {
struct ResultFile;
}

namespace twinex::similar {

// Puts the method into the engine's table (part of InstallSimilarMethods).
void InstallSimilarPicturesMethod();

// Reads a result row's picture width and height from its file (the archive member's temporary
// copy when it has one), for rows whose picture values were not filled by the search; the
// row's "GetFileInfo" flag stays set when the file cannot be read.
void ReadPictureFileInfo(ResultFile& row);

}  // namespace twinex::similar
