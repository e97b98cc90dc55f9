// Writing the data of one U3D block in the format's bit encoding: the
// mirror of bitReaderC, value for value and context for context.
#pragma once

#include "u3d/codingInterval.h"
#include "u3d/histogram.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace u3d {

// Write the values of a block in the order its reader reads them, then
// take the bytes with finish(). Contexts (u3d/contexts.h) work as for the
// reader: a compressed value with context 0 or one at or above kMaxRange
// is written plainly; a static context takes only values below its count
// (std::invalid_argument otherwise); an adaptive one codes a value it has
// not seen as the escape followed by the plain value.
class bitWriterC {
public:
    bitWriterC();

    // The file's no-compression profile flag: compressed values are then
    // written as plain ones.
    void setNoCompression(bool on) { noCompression_ = on; }

    void writeU8(uint8_t value);
    void writeU16(uint16_t value);
    void writeU32(uint32_t value);
    void writeU64(uint64_t value);
    void writeI16(int16_t value) { writeU16(static_cast<uint16_t>(value)); }
    void writeI32(int32_t value) { writeU32(static_cast<uint32_t>(value)); }
    void writeF32(float value);
    void writeF64(double value);
    // A U16 byte count, then the bytes; std::invalid_argument past 65535.
    void writeString(const std::string& text);

    void writeCompressedU8(uint32_t context, uint8_t value);
    void writeCompressedU16(uint32_t context, uint16_t value);
    void writeCompressedU32(uint32_t context, uint32_t value);

    // The block's data: once anything compressed was written, four zero
    // bytes are coded after the last value so that the decoder has the bits
    // it looks ahead at; then the last byte is filled with zeros. The writer
    // is done after this.
    std::vector<uint8_t> finish();

private:
    void writeBit(uint32_t bit);
    void writePlainBits(uint32_t bits, unsigned count);
    void writeStaticSymbol(uint32_t symbol, uint32_t count);
    // Codes `symbol`, or the escape when the context has not seen it;
    // returns whether it escaped.
    bool writeAdaptiveSymbol(uint32_t context, uint32_t symbol);
    // Shifts out the bits the last narrowing settled.
    void settle();
    template <typename T>
    void writeCompressed(uint32_t context, T value, void (bitWriterC::*plain)(T));

    std::vector<uint8_t> bytes_;
    uint64_t bitCount_ = 0;
    codingIntervalS interval_;
    bool noCompression_ = false;
    bool compressed_ = false;
    std::vector<std::unique_ptr<histogramC>> histograms_;
};

}  // namespace u3d
