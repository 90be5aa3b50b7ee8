#include "hexview/VxMemoryStream.h"

#include <cstring>
#include <limits>
#include <new>

#include "framework/Exceptions.h"

void TVxMemoryStream::Clear()
{
    FMemory.reset();
    FSize = 0;
}

void TVxMemoryStream::SetSize(std::int64_t size)
{
    if (size == FSize)
        return;
    if (size <= 0) {
        Clear();
        return;
    }
    if (static_cast<std::uint64_t>(size) > std::numeric_limits<std::size_t>::max())
        throw EOutOfMemory("Out of memory while expanding memory stream");
    // Default-initialised: the bytes are about to be overwritten by a read.
    std::unique_ptr<std::uint8_t[]> block(new (std::nothrow) std::uint8_t[static_cast<std::size_t>(size)]);
    if (!block)
        throw EOutOfMemory("Out of memory while expanding memory stream");
    if (FSize > 0)
        std::memcpy(block.get(), FMemory.get(), static_cast<std::size_t>(size < FSize ? size : FSize));
    FMemory = std::move(block);
    FSize = size;
}
