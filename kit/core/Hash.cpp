#include "kit/core/Hash.h"

#include <cstring>

namespace kit {

const uint8_t Hash::Padding[64] = {0x80};

std::wstring Hash::HexText(const uint8_t* bytes, size_t count)
{
    static const wchar_t digits[] = L"0123456789ABCDEF";
    std::wstring text(count * 2, L'0');
    for (size_t i = 0; i < count; ++i) {
        text[i * 2] = digits[bytes[i] >> 4];
        text[i * 2 + 1] = digits[bytes[i] & 0x0F];
    }
    return text;
}

void Hash::FeedBlocks(const BlockContext& context, BlockTransform transform, const void* data, uint32_t size)
{
    if (size == 0) {
        return;
    }
    const uint8_t* p = static_cast<const uint8_t*>(data);
    uint32_t used = context.ByteCountLow & (BlockSize - 1);
    context.ByteCountLow += size;
    if (context.ByteCountLow < size) {
        ++context.ByteCountHigh;
    }

    if (used != 0 && size >= BlockSize - used) {
        const uint32_t fill = BlockSize - used;
        std::memcpy(context.Buffer + used, p, fill);
        transform(context.State, context.Buffer, 1);
        p += fill;
        size -= fill;
        used = 0;
    }
    const uint32_t whole = size / BlockSize;
    if (whole != 0) {
        transform(context.State, p, whole);
        p += size_t(whole) * BlockSize;
        size -= whole * BlockSize;
    }
    if (size != 0) {
        std::memcpy(context.Buffer + used, p, size);
    }
}

} // namespace kit
