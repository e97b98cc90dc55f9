// The samples of a horizontal band of the image.
//
// Anti-aliasing is supersampling with kSamples samples a pixel in an
// n-rooks pattern: the pixel is cut into kSamples sample rows, and each row
// holds one sample at its own horizontal offset, so that every sample has a
// height and a horizontal position of its own. Edges near the horizontal and
// near the vertical both get kSamples + 1 levels of coverage, for the memory
// of kSamples samples (an ordered 2 x 2 grid gives 3 levels on such edges).
//
// Sample row s lies at y = (s + 0.5) / kSamples pixels and holds one sample
// per pixel column x, at x + kSampleOffsets[s % kSamples]. The whole image
// at once would take 12 bytes a sample (above 90 MiB at 1631 x 1254), so the
// image is drawn band by band into one reused band.
#pragma once

#include "render/poster.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace render {

inline constexpr int kSamples = 4;
// The horizontal offsets of the sample rows within a pixel, as fractions
// of a pixel: every column of a 4 x 4 grid once.
inline constexpr float kSampleOffsets[kSamples] = {0.375f, 0.875f, 0.125f, 0.625f};

// A colour as the band stores it: 8 bits each of red, green, blue. Values
// outside 0..1 are clamped, and what is not a number is taken as 0.
inline uint32_t packColour(float r, float g, float b) {
    auto channel = [](float v) { return uint32_t(v > 0 ? (v < 1 ? int(v * 255 + 0.5f) : 255) : 0); };
    return channel(r) | channel(g) << 8 | channel(b) << 16;
}

class sampleBandC {
public:
    // withNormals: keep a face normal per sample (for outlines) and a mark
    // per sample. margin: sample rows drawn above and below each band, for
    // filters that look at neighbours. budget: bytes the band may take.
    sampleBandC(int width, int height, bool withNormals, int margin, std::size_t budget);

    int width() const { return width_; }
    int pixelRowsPerBand() const { return rowsPerBand_; }

    // Starts the band of pixel rows [firstRow, firstRow + rowCount): every
    // sample of it and of its margins gets the background and no depth.
    void begin(int firstRow, int rowCount, uint32_t background);

    // The sample rows held, margins included: [firstSampleRow, endSampleRow).
    int firstSampleRow() const { return firstSample_; }
    int endSampleRow() const { return endSample_; }
    // The sample rows of the band proper, without margins.
    int firstOwnSampleRow() const { return firstRow_ * kSamples; }
    int endOwnSampleRow() const { return (firstRow_ + rowCount_) * kSamples; }

    // Rows by their sample row index; depth is 1 / z (0: nothing drawn).
    float* depthRow(int sampleRow) { return &depth_[offset(sampleRow)]; }
    uint32_t* colourRow(int sampleRow) { return &colour_[offset(sampleRow)]; }
    bool hasNormals() const { return !normal_.empty(); }
    uint32_t* normalRow(int sampleRow) { return &normal_[offset(sampleRow)]; }
    uint8_t* markRow(int sampleRow) { return &mark_[offset(sampleRow)]; }

    // The rectangle of samples that faces have been drawn in, at most:
    // kept for bands with normals, so that the outlines look only there.
    struct areaS {
        int firstRow, lastRow, firstColumn, lastColumn;
    };
    void noteDrawn(int firstRow, int lastRow, int firstColumn, int lastColumn) {
        drawn_ = {std::min(drawn_.firstRow, firstRow), std::max(drawn_.lastRow, lastRow),
                  std::min(drawn_.firstColumn, firstColumn), std::max(drawn_.lastColumn, lastColumn)};
    }
    const areaS& drawn() const { return drawn_; }

    // Averages the samples of each pixel of the band proper into the image.
    void resolve(imageS& image) const;

private:
    std::size_t offset(int sampleRow) const { return std::size_t(sampleRow - firstSample_) * std::size_t(width_); }

    int width_;
    int height_;
    int margin_;
    int rowsPerBand_;
    int firstRow_ = 0;
    int rowCount_ = 0;
    int firstSample_ = 0;
    int endSample_ = 0;
    std::vector<float> depth_;
    std::vector<uint32_t> colour_;
    std::vector<uint32_t> normal_;
    std::vector<uint8_t> mark_;
    areaS drawn_{};
};

}  // namespace render
