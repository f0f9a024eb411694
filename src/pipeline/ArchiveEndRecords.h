#pragma once
// The records at the end of a ZIP archive that say where its central directory lies and how many
// entries it holds. Their 16- and 32-bit fields overflow above 65,534 entries or past 4 GiB; the
// format then wants the zip64 end record and its locator in front of the classic record, which
// the zip library writes only for some of those archives (not at exactly 65,535 entries, and in
// some versions never). So the archive writer writes them itself once the library is done.
#include <cstdint>
#include <string>

// The end records that the format wants for a directory of `entries` entries at `offset` of
// `size` bytes: the zip64 end record and locator when any field overflows, then the classic
// record without a comment.
std::string EndRecords(std::uint64_t entries, std::uint64_t offset, std::uint64_t size);

// Replaces the end records of the archive at `path` (a comment-free archive just written, whose
// central directory is followed only by end records) with EndRecords for what its directory
// holds; the entries are counted in the directory itself. False when the archive's end or
// directory cannot be read or written.
bool RewriteEndRecords(const std::string& path);
