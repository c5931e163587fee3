#pragma once
// The checksum database as one search uses it: opened by the settings copy when the settings
// ask for it, asked before a file is read, given what was computed, committed and closed at the
// end. Its first failure is logged once; the search then goes on without it.
#include <cstdint>
#include <span>
#include <vector>

namespace twinex {

class Search;

// Opens the database when `usedb` and one of its uses are on and no other instance holds it;
// the busy message or the opening error goes to the search log.
void DB_OpenForSearch(Search& search);

// Content checksums (hashc, keyed by the content method). A hit fills the record's digest and
// sets HashCreated. Only digests of whole files are kept: a digest of a range with tags cut off
// depends on options the table does not record.
bool DB_Get_Hash(Search& search, long index);
void DB_Save_Hash(Search& search, long index);

// Picture hashes (hashp, keyed by the hash type code plus the orientation slot).
bool DB_Get_Pic_Hash(Search& search, long index, int ctype, std::vector<std::uint8_t>& hash);
void DB_Save_Pic_Hash(Search& search, long index, int ctype, std::span<const std::uint8_t> hash);

// Audio fingerprints (hasha, keyed by the analysed seconds and the algorithm).
bool DB_Get_Audio_Hash(Search& search, long index, int seconds, int algo, std::vector<std::int32_t>& fingerprint);
void DB_Save_Audio_Hash(Search& search, long index, int seconds, int algo, std::span<const std::int32_t> fingerprint);

// After the walk: commits the last stores and runs "PRAGMA optimize;".
void DB_OptimizeAfterSearch(Search& search);
// At the end of the search: closes the database and releases it for other instances.
void DB_CloseForSearch(Search& search);

}  // namespace twinex
