// The streaming interface of the three checksums: fed a file block by block, it yields the value as text.
#pragma once

#include <boost/noncopyable.hpp>

#include <cstddef>
#include <cstdint>
#include <string>

namespace kit {

class Hash : private boost::noncopyable {
public:
    // back to the state of a new object
    virtual void Reset() = 0;
    // size 0 changes nothing; partial blocks are buffered by the object
    virtual void Update(const void* data, uint32_t size) = 0;
    // upper-case hexadecimal of fixed length (8, 32 or 40 digits)
    virtual std::wstring Final() = 0;

protected:
    Hash() = default;
    // owners hold hashes through shared_ptr created from the concrete class, so no virtual destructor is needed
    ~Hash() = default;

    // "%02X" of every byte, in order
    static std::wstring HexText(const uint8_t* bytes, size_t count);

    // Md5 and Sha1: 0x80 and zeros, fed by Final up to the length field
    static const uint8_t Padding[64];
    static constexpr uint32_t BlockSize = 64;

    // runs the transform on count whole blocks, read where they lie
    typedef void (*BlockTransform)(uint32_t* state, const uint8_t* blocks, size_t count);

    struct BlockContext {
        uint32_t& ByteCountLow;
        uint32_t& ByteCountHigh;
        uint32_t* State;
        uint8_t* Buffer; // BlockSize bytes; the low six bits of ByteCountLow say how many are in use
    };

    // the shared Update of Md5 and Sha1: counts the bytes (64 bits), completes a buffered block, transforms
    // whole blocks of the input in place and buffers the rest
    static void FeedBlocks(const BlockContext& context, BlockTransform transform, const void* data, uint32_t size);
};

} // namespace kit
