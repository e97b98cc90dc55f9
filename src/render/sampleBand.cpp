#include "render/sampleBand.h"

#include <algorithm>

namespace render {

sampleBandC::sampleBandC(int width, int height, bool withNormals, int margin, std::size_t budget)
    : width_(width), height_(height), margin_(margin) {
    const std::size_t bytesPerSample = sizeof(float) + sizeof(uint32_t) + (withNormals ? sizeof(uint32_t) + 1 : 0);
    const std::size_t bytesPerRow = bytesPerSample * std::size_t(width) * kSamples;
    const std::size_t fit = budget / bytesPerRow;
    rowsPerBand_ = int(std::clamp<std::size_t>(fit, 1, std::size_t(height)));
    const std::size_t samples = (std::size_t(rowsPerBand_) * kSamples + 2 * std::size_t(margin)) * std::size_t(width);
    depth_.resize(samples);
    colour_.resize(samples);
    if (withNormals) {
        normal_.resize(samples);
        mark_.resize(samples);
    }
}

void sampleBandC::begin(int firstRow, int rowCount, uint32_t background) {
    firstRow_ = firstRow;
    rowCount_ = rowCount;
    firstSample_ = std::max(0, firstRow * kSamples - margin_);
    endSample_ = std::min(height_ * kSamples, (firstRow + rowCount) * kSamples + margin_);
    const std::size_t used = std::size_t(endSample_ - firstSample_) * std::size_t(width_);
    std::fill_n(depth_.begin(), used, 0.0f);
    std::fill_n(colour_.begin(), used, background);
    if (hasNormals())
        std::fill_n(mark_.begin(), used, uint8_t(0));
    drawn_ = {endSample_, firstSample_ - 1, width_, -1};
}

void sampleBandC::resolve(imageS& image) const {
    for (int row = firstRow_; row < firstRow_ + rowCount_; ++row) {
        const uint32_t* samples = &colour_[offset(row * kSamples)];
        uint8_t* out = &image.rgb[std::size_t(row) * std::size_t(width_) * 3];
        for (int x = 0; x < width_; ++x) {
            // Red and blue are summed side by side, 16 bits apart: the sum
            // of kSamples bytes cannot reach into the next.
            static_assert(kSamples * 255 < (1 << 16));
            uint32_t redBlue = 0, green = 0;
            for (int k = 0; k < kSamples; ++k) {
                const uint32_t c = samples[std::size_t(k) * std::size_t(width_) + std::size_t(x)];
                redBlue += c & 0xff00ff;
                green += c >> 8 & 0xff;
            }
            out[3 * x] = uint8_t(((redBlue & 0xffff) + kSamples / 2) / kSamples);
            out[3 * x + 1] = uint8_t((green + kSamples / 2) / kSamples);
            out[3 * x + 2] = uint8_t(((redBlue >> 16) + kSamples / 2) / kSamples);
        }
    }
}

}  // namespace render
