#pragma once
// SHA-256 (FIPS 180-4) of byte strings, for fingerprints that a later run compares: the install
// log's, kept where only administrators can write.
#include <cstdint>
#include <string>

class Sha256 {
public:
    Sha256();
    void Add(const void* data, size_t size);
    // The 32-byte digest; the object is spent afterwards.
    std::string Finish();

private:
    void Block(const unsigned char* block);

    std::uint32_t state_[8];
    unsigned char buffer_[64];
    size_t buffered_ = 0;
    std::uint64_t length_ = 0;
};

// The digest of `bytes` as 64 upper-case hex digits.
std::string Sha256Hex(const std::string& bytes);
