#pragma once
// The track-length search (method 4): video and music files whose audio tracks are equally
// long, to the whole second or within a tolerance, grouped by first match. A file whose length
// cannot be read has length 0 and never matches.
namespace twinex::similar {

void InstallTrackLengthMethod();
// Lets every search fill the duration, bit-rate and sampling-rate columns of music and video
// files while those columns are shown.
void InstallAudioColumns();

}  // namespace twinex::similar
