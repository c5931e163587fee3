#pragma once
// The similar-music search (method 3): each music file's acoustic fingerprint, made by the
// outside fingerprint program or taken from the checksum database, is compared with the
// fingerprints of the files before it; the first one with enough agreeing bits decides its
// group.
//
// The program runs for several files side by side (see SetFingerprintChildren): the walk hands
// on the next files while earlier ones are analysed, but the files are compared and grouped
// strictly in the order they were found, so the result is the one of a run one at a time.
namespace twinex::similar {

void InstallSimilarMusicMethod();

// How many fingerprint programs may run at once; 0: as many as the machine has cores, at most 4.
// The environment variable TWINEX_FINGERPRINT_CHILDREN sets it for a run from outside.
void SetFingerprintChildren(int children);

}  // namespace twinex::similar
