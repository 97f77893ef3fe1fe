// LXStream: one numbered byte stream of a container file.
//
// Reading: the stream is cut into blocks (the last holds the remainder), stored either
// as they are or each as one complete zlib stream behind a table of 3-byte offsets.
// Blocks are loaded on first access, either into a buffer of the whole stream (load
// mode 1, blocks stay) or into a few one-block slots kept in most-recently-used order
// (load mode 2). A block that cannot be read or inflated reads as zero bytes. The block
// table of a compressed stream is read in chunks as blocks need it, and its chunks stay:
// a block loaded later costs one file read, not two.
//
// Writing: bytes are gathered in a growing buffer and written in one go, compressed in
// independent 1024-byte blocks when asked.
//
// The file and the compressor are borrowed.
#ifndef WORDMERE_ENGINE_LXSTREAM_H
#define WORDMERE_ENGINE_LXSTREAM_H

#include <cstdint>
#include <memory>

class LXBinaryFile;
class LXCompressor;

// One directory entry as stored in the file.
struct LXStreamEntry {
    uint32_t offset;     // absolute file offset of the data
    uint32_t length;     // uncompressed length
    uint32_t storedSize; // bytes of data in the file (the block table not counted)
    uint32_t blockWord;  // bits 0-30 block size, bit 31 compressed

    static constexpr uint32_t kCompressedBit = 0x80000000u;
};

class LXStream {
public:
    enum LoadMode { NotLoaded = 0, WholeStream = 1, BlockCache = 2 };
    static constexpr uint32_t kWriteBlockSize = 1024;
    // Block-table entries read from the file at once (plus the next chunk's first).
    static constexpr uint32_t kTableChunkEntries = 256;

    LXStream(LXBinaryFile *file, LXCompressor *compressor);
    ~LXStream();

    LXStream(const LXStream &) = delete;
    LXStream &operator=(const LXStream &) = delete;

    // Takes a directory entry for reading in load mode 1 or 2 with `slots` cache slots.
    // False when the entry does not fit the file it came from (data past the end, a
    // length that its stored bytes could never inflate to) or memory runs out.
    bool initForReading(const LXStreamEntry &entry, int loadMode, uint32_t slots);
    void initForWriting();

    // 0 at or beyond the length, and for a block that cannot be loaded. Reads inside the
    // block read last take the inline path: no block look-up, no cache reordering (the
    // block is the front slot already, or stays loaded in a whole-stream buffer).
    uint8_t readByte(uint32_t position)
    {
        const uint32_t within = position - m_hotStart;
        if (within < m_hotBytes)
            return m_hot[within];
        return readByteOfBlock(position);
    }

    // Stores the byte, growing the buffer (doubling from 128) as needed; the length
    // becomes position + 1 when that is larger. Dropped when memory runs out.
    void writeByte(uint32_t position, uint8_t value);
    void setCompressed(bool compressed) { m_compressed = compressed; }
    // Writes the data at the file's current position and records offset and stored size.
    // A stream that cannot be compressed (no compressor) is written as it is.
    bool writeData();

    void setCompressor(LXCompressor *compressor) { m_compressor = compressor; }

    uint32_t getLength() const { return m_length; }
    bool isCompressed() const { return m_compressed; }
    uint32_t getBlockSize() const { return m_blockSize; }
    uint32_t getBlockCount() const { return m_blockCount; }
    LXStreamEntry getEntry() const;

    // What the reads cost so far: blocks loaded from the file, and inflations among them.
    uint32_t getBlockLoadCount() const { return m_blockLoads; }
    uint32_t getInflateCount() const { return m_inflations; }
    // Mode 2: the block held by a slot (slot 0 the most recently used), -1 when empty.
    int32_t getSlotBlock(uint32_t slot) const;
    uint32_t getSlotCount() const { return m_slotCount; }
    // Bytes held for reading: whole-stream buffer or cache slots, and block-table chunks.
    uint64_t getHeldBytes() const;
    // Write mode: bytes allocated for the data gathered so far.
    uint32_t getWriteCapacity() const { return m_writeCapacity; }

private:
    struct Slot {
        int32_t block;
        uint32_t bytes;
        std::unique_ptr<uint8_t[]> data;
    };

    uint32_t blockBytes(uint32_t block) const;
    // readByte outside the block read last: finds or loads the block and makes it the hot one.
    uint8_t readByteOfBlock(uint32_t position);
    void setHot(const uint8_t *data, uint32_t block, uint32_t bytes);
    // room: bytes the target has beyond the block's own, which inflation may use.
    bool loadBlock(uint32_t block, uint8_t *target, uint32_t room);
    bool loadCompressed(uint32_t block, uint8_t *target, uint32_t expected, uint32_t room);
    uint32_t largestBlock() const { return m_blockSize < m_length ? m_blockSize : m_length; }
    // A slot's bytes beyond one block: zlib decodes at full speed only while it has room
    // for a longest match (258 bytes) after the output position.
    static constexpr uint32_t kSlotSlack = 258;
    // Where the block's deflated bytes lie within the stored data; false when the table
    // cannot be read.
    bool blockExtent(uint32_t block, uint32_t &start, uint32_t &end);
    uint32_t tableChunkEntries(uint32_t chunk) const;

    LXBinaryFile *m_file;
    LXCompressor *m_compressor;
    int m_loadMode;
    uint32_t m_offset;
    uint32_t m_length;
    uint32_t m_storedSize;
    uint32_t m_blockSize;
    bool m_compressed;
    uint32_t m_blockCount;

    std::unique_ptr<uint8_t[]> m_scratch; // compressed data of one block
    uint32_t m_scratchSize;
    // Compressed: the block table's chunks read so far (null: not yet).
    std::unique_ptr<std::unique_ptr<uint8_t[]>[]> m_tableChunks;
    uint32_t m_tableChunkCount;
    uint32_t m_tableBytes;

    // Mode 1.
    std::unique_ptr<uint8_t[]> m_loaded;
    std::unique_ptr<uint8_t[]> m_whole;

    // Mode 2.
    std::unique_ptr<Slot[]> m_slots;
    uint32_t m_slotCount;

    // Writing.
    std::unique_ptr<uint8_t[]> m_writeBuffer;
    uint32_t m_writeCapacity;

    // The block read last: its bytes, its first position and its length (0: none).
    const uint8_t *m_hot;
    uint32_t m_hotStart;
    uint32_t m_hotBytes;

    uint32_t m_blockLoads;
    uint32_t m_inflations;
};

#endif
