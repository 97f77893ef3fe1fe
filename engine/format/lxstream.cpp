#include "format/lxstream.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "base/lxutilities.h"
#include "format/lxbinaryfile.h"
#include "format/lxcompressor.h"

namespace {

// Deflate never expands data by more than this factor (one 258-byte match in about two
// bits), so a stream longer than this many times its stored bytes cannot be real.
const uint64_t kMaxInflateRatio = 1032;

// Room for one deflated block: deflate adds a few bytes per 16 KiB plus the zlib
// header and checksum, far below one extra block.
uint64_t scratchFor(uint64_t blockSize) { return 2 * blockSize + 64; }

const uint32_t kFirstWriteCapacity = 128;

} // namespace

LXStream::LXStream(LXBinaryFile *file, LXCompressor *compressor)
    : m_file(file), m_compressor(compressor), m_loadMode(NotLoaded), m_offset(0), m_length(0), m_storedSize(0),
      m_blockSize(0), m_compressed(false), m_blockCount(0), m_scratchSize(0), m_tableChunkCount(0), m_tableBytes(0),
      m_slotCount(0), m_writeCapacity(0),
      m_hot(nullptr), m_hotStart(0), m_hotBytes(0), m_blockLoads(0), m_inflations(0)
{
}

LXStream::~LXStream() = default;

bool LXStream::initForReading(const LXStreamEntry &entry, int loadMode, uint32_t slots)
{
    if (!m_file || (loadMode != WholeStream && loadMode != BlockCache))
        return false;
    m_loadMode = loadMode;
    setHot(nullptr, 0, 0);
    m_offset = entry.offset;
    m_length = entry.length;
    m_storedSize = entry.storedSize;
    m_compressed = (entry.blockWord & LXStreamEntry::kCompressedBit) != 0;
    m_blockSize = entry.blockWord & ~LXStreamEntry::kCompressedBit;

    // No blocks: nothing can be read, so the stream has no bytes either.
    if (m_blockSize == 0 || m_length == 0) {
        m_blockCount = 0;
        m_length = 0;
        return true;
    }
    const uint64_t blocks = (uint64_t(m_length) + m_blockSize - 1) / m_blockSize;
    m_blockCount = static_cast<uint32_t>(blocks);

    // Every number taken from the directory is held against the file's real size before
    // anything is allocated from it.
    const uint64_t fileSize = m_file->getSize();
    if (m_offset > fileSize)
        return false;
    const uint64_t room = fileSize - m_offset;
    if (m_compressed) {
        if (3 * blocks + m_storedSize > room)
            return false;
        if (m_length > kMaxInflateRatio * m_storedSize)
            return false;
    } else if (m_length > room) {
        return false;
    }

    // No block is larger than the stream.
    const uint32_t largest = largestBlock();
    if (m_compressed) {
        m_scratchSize = static_cast<uint32_t>(std::min<uint64_t>(scratchFor(largest), m_storedSize));
        m_scratch.reset(new (std::nothrow) uint8_t[m_scratchSize ? m_scratchSize : 1]);
        m_tableChunkCount = (m_blockCount + kTableChunkEntries - 1) / kTableChunkEntries;
        m_tableChunks.reset(new (std::nothrow) std::unique_ptr<uint8_t[]>[m_tableChunkCount]);
        m_tableBytes = 0;
        if (!m_scratch || !m_tableChunks)
            return false;
    }
    if (loadMode == WholeStream) {
        m_loaded.reset(new (std::nothrow) uint8_t[m_blockCount]());
        m_whole.reset(new (std::nothrow) uint8_t[m_length]);
        return m_loaded && m_whole;
    }
    if (slots == 0)
        slots = 1;
    m_slots.reset(new (std::nothrow) Slot[slots]);
    if (!m_slots)
        return false;
    for (uint32_t i = 0; i < slots; ++i) {
        m_slots[i].block = -1;
        m_slots[i].bytes = 0;
        m_slots[i].data.reset(new (std::nothrow) uint8_t[largest + kSlotSlack]);
        if (!m_slots[i].data)
            break; // the cache ends at the first slot that cannot be had
        m_slotCount = i + 1;
    }
    return m_slotCount > 0;
}

void LXStream::initForWriting()
{
    m_loadMode = NotLoaded;
    setHot(nullptr, 0, 0);
    m_offset = 0;
    m_length = 0;
    m_storedSize = 0;
    m_blockSize = kWriteBlockSize;
    m_compressed = false;
    m_blockCount = 0;
    m_writeBuffer.reset(new (std::nothrow) uint8_t[kFirstWriteCapacity]);
    m_writeCapacity = m_writeBuffer ? kFirstWriteCapacity : 0;
}

uint32_t LXStream::blockBytes(uint32_t block) const
{
    const uint64_t start = uint64_t(block) * m_blockSize;
    return static_cast<uint32_t>(std::min<uint64_t>(m_blockSize, m_length - start));
}

void LXStream::setHot(const uint8_t *data, uint32_t block, uint32_t bytes)
{
    m_hot = data;
    m_hotStart = block * m_blockSize;
    m_hotBytes = data ? bytes : 0;
}

uint8_t LXStream::readByteOfBlock(uint32_t position)
{
    if (position >= m_length || m_blockCount == 0)
        return 0;
    const uint32_t block = position / m_blockSize;
    const uint32_t within = position % m_blockSize;

    if (m_loadMode == WholeStream) {
        uint8_t *place = m_whole.get() + uint64_t(block) * m_blockSize;
        if (!m_loaded[block]) {
            if (!loadBlock(block, place, 0))
                return 0;
            m_loaded[block] = 1;
        }
        setHot(place, block, blockBytes(block));
        return place[within];
    }
    if (m_loadMode != BlockCache || m_slotCount == 0)
        return 0;

    if (m_slots[0].block != static_cast<int32_t>(block)) {
        uint32_t i = 1;
        while (i < m_slotCount && m_slots[i].block != static_cast<int32_t>(block))
            ++i;
        if (i < m_slotCount) {
            std::rotate(&m_slots[0], &m_slots[i], &m_slots[i] + 1);
        } else {
            // The least recently used slot goes to the front and takes the block.
            std::rotate(&m_slots[0], &m_slots[m_slotCount - 1], &m_slots[m_slotCount - 1] + 1);
            Slot &front = m_slots[0];
            front.block = -1;
            front.bytes = 0;
            setHot(nullptr, 0, 0);
            if (!loadBlock(block, front.data.get(), kSlotSlack + largestBlock() - blockBytes(block)))
                return 0;
            front.block = static_cast<int32_t>(block);
            front.bytes = blockBytes(block);
        }
    }
    setHot(m_slots[0].data.get(), block, m_slots[0].bytes);
    return m_slots[0].data[within];
}

bool LXStream::loadBlock(uint32_t block, uint8_t *target, uint32_t room)
{
    ++m_blockLoads;
    const uint32_t expected = blockBytes(block);
    if (m_compressed)
        return loadCompressed(block, target, expected, room);
    const uint64_t at = uint64_t(m_offset) + uint64_t(block) * m_blockSize;
    if (m_file->seek(static_cast<int32_t>(at), LXBinaryFile::FromBeginning) < 0)
        return false;
    return m_file->read(target, expected) == expected;
}

uint32_t LXStream::tableChunkEntries(uint32_t chunk) const
{
    const uint32_t first = chunk * kTableChunkEntries;
    return std::min(kTableChunkEntries + 1, m_blockCount - first);
}

bool LXStream::blockExtent(uint32_t block, uint32_t &start, uint32_t &end)
{
    const uint32_t chunk = block / kTableChunkEntries;
    std::unique_ptr<uint8_t[]> &entries = m_tableChunks[chunk];
    if (!entries) {
        const uint32_t bytes = 3 * tableChunkEntries(chunk);
        std::unique_ptr<uint8_t[]> read(new (std::nothrow) uint8_t[bytes]);
        const uint64_t at = uint64_t(m_offset) + 3 * uint64_t(chunk) * kTableChunkEntries;
        if (!read || m_file->seek(static_cast<int32_t>(at), LXBinaryFile::FromBeginning) < 0 ||
            m_file->read(read.get(), bytes) != bytes)
            return false;
        entries = std::move(read);
        m_tableBytes += bytes;
    }
    const uint32_t within = block % kTableChunkEntries;
    start = LXUtilities::readInt24FromBuffer(&entries[3 * within]);
    end = block + 1 == m_blockCount ? m_storedSize : LXUtilities::readInt24FromBuffer(&entries[3 * (within + 1)]);
    return true;
}

bool LXStream::loadCompressed(uint32_t block, uint8_t *target, uint32_t expected, uint32_t room)
{
    if (!m_compressor)
        return false;
    uint32_t start = 0, end = 0;
    if (!blockExtent(block, start, end))
        return false;
    // A table that does not increase, or that points past the stored data, is refused
    // here rather than read with a wrapped-around size.
    if (end < start || end > m_storedSize)
        return false;
    const uint32_t packed = end - start;
    if (packed == 0 || packed > m_scratchSize)
        return false;
    const uint64_t dataAt = uint64_t(m_offset) + 3 * uint64_t(m_blockCount) + start;
    if (m_file->seek(static_cast<int32_t>(dataAt), LXBinaryFile::FromBeginning) < 0)
        return false;
    if (m_file->read(m_scratch.get(), packed) != packed)
        return false;
    ++m_inflations;
    // Room for exactly the expected bytes (a slot's slack beyond them is its own): a block
    // that inflates to more does not end within it and fails, so nothing is written past
    // the block.
    return m_compressor->decompress(m_scratch.get(), packed, target, expected + room) == expected;
}

void LXStream::writeByte(uint32_t position, uint8_t value)
{
    if (position >= m_writeCapacity) {
        uint64_t capacity = m_writeCapacity ? m_writeCapacity : kFirstWriteCapacity;
        while (capacity <= position)
            capacity *= 2;
        if (capacity > 0x80000000u)
            return; // beyond what a 32-bit offset can address
        uint8_t *grown = new (std::nothrow) uint8_t[static_cast<size_t>(capacity)];
        if (!grown)
            return;
        if (m_writeBuffer)
            std::memcpy(grown, m_writeBuffer.get(), m_length);
        // Bytes skipped over read as 0, not as whatever the allocator left.
        std::memset(grown + m_length, 0, static_cast<size_t>(capacity - m_length));
        m_writeBuffer.reset(grown);
        m_writeCapacity = static_cast<uint32_t>(capacity);
    } else if (position > m_length) {
        std::memset(m_writeBuffer.get() + m_length, 0, position - m_length);
    }
    m_writeBuffer[position] = value;
    if (position + 1 > m_length)
        m_length = position + 1;
}

bool LXStream::writeData()
{
    if (!m_file)
        return false;
    const int32_t at = m_file->tell();
    if (at < 0)
        return false;
    m_offset = static_cast<uint32_t>(at);
    m_storedSize = 0;
    m_blockSize = kWriteBlockSize;
    if (m_length == 0)
        return true;

    if (m_compressed && m_compressor) {
        const uint32_t blocks = (m_length + kWriteBlockSize - 1) / kWriteBlockSize;
        const uint32_t scratch = 2 * kWriteBlockSize;
        // The table and the deflated blocks are built in memory and written in one go;
        // the bytes are those of writing each table entry and block in turn.
        std::unique_ptr<uint8_t[]> table(new (std::nothrow) uint8_t[3 * size_t(blocks)]);
        std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[size_t(blocks) * scratch]);
        bool ok = table && data;
        uint32_t stored = 0;
        for (uint32_t i = 0; ok && i < blocks; ++i) {
            const uint32_t n = std::min(kWriteBlockSize, m_length - i * kWriteBlockSize);
            if (stored > 0xFFFFFFu) {
                ok = false; // beyond what a 3-byte table entry can point at
                break;
            }
            LXUtilities::writeInt24ToBuffer(table.get() + 3 * i, stored);
            const uint32_t c =
                m_compressor->compress(m_writeBuffer.get() + i * kWriteBlockSize, n, data.get() + stored, scratch);
            if (c == 0)
                ok = false;
            stored += c;
        }
        if (ok) {
            if (!m_file->write(table.get(), 3 * blocks) || !m_file->write(data.get(), stored))
                return false;
            m_storedSize = stored;
            return true;
        }
        // Rather than write blocks that cannot be read back, keep the data uncompressed.
        m_compressed = false;
    } else {
        m_compressed = false;
    }
    if (!m_file->write(m_writeBuffer.get(), m_length))
        return false;
    m_storedSize = m_length;
    return true;
}

LXStreamEntry LXStream::getEntry() const
{
    LXStreamEntry e;
    e.offset = m_offset;
    e.length = m_length;
    e.storedSize = m_storedSize;
    e.blockWord = m_blockSize | (m_compressed ? LXStreamEntry::kCompressedBit : 0);
    return e;
}

uint64_t LXStream::getHeldBytes() const
{
    uint64_t held = m_tableBytes;
    if (m_loadMode == WholeStream)
        held += m_length + m_blockCount;
    else if (m_loadMode == BlockCache)
        held += uint64_t(m_slotCount) * std::min(m_blockSize, m_length);
    return held;
}

int32_t LXStream::getSlotBlock(uint32_t slot) const
{
    if (m_loadMode != BlockCache || slot >= m_slotCount)
        return -1;
    return m_slots[slot].block;
}
