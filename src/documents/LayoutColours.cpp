#include "documents/LayoutColours.h"

#include <algorithm>
#include <array>

#include "documents/LayoutColoursPixels.h"
#include "documents/WordExport.h"
#include "imaging/Page.h"

namespace zelk {
namespace {

// Sample budgets: a block's paper is a broad majority, so a coarse grid
// does; a word's ink is a few strokes, so its box is read more densely.
constexpr int kBlockSamples = 20000;
constexpr int kWordSamples = 4000;

// A colour counts as scanned black when no channel exceeds this and the
// channels differ by at most kGreyTolerance; scanned white when no channel
// falls below kNearWhite.  Light grey shading (0xD9 and darker) stays.
constexpr int kNearBlack = 72;
constexpr int kNearWhite = 224;
constexpr int kGreyTolerance = 32;

// Ink must stand this far (Euclidean, 8-bit channels) from the paper to be
// taken as a colour of its own.
constexpr int kMinInkContrast = 48;

int Spread(Rgb colour) {
  const int high = std::max({colour.red, colour.green, colour.blue});
  const int low = std::min({colour.red, colour.green, colour.blue});
  return high - low;
}

int SquaredDistance(Rgb a, Rgb b) {
  const int red = a.red - b.red;
  const int green = a.green - b.green;
  const int blue = a.blue - b.blue;
  return red * red + green * green + blue * blue;
}

std::uint8_t MedianChannel(std::vector<std::uint8_t>& values) {
  auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

// Per-channel median of a non-empty set of colours.
Rgb MedianColour(const std::vector<Rgb>& colours) {
  std::array<std::vector<std::uint8_t>, 3> channels;
  for (auto& channel : channels) channel.reserve(colours.size());
  for (const Rgb& colour : colours) {
    channels[0].push_back(colour.red);
    channels[1].push_back(colour.green);
    channels[2].push_back(colour.blue);
  }
  return Rgb{MedianChannel(channels[0]), MedianChannel(channels[1]), MedianChannel(channels[2])};
}

int BinOf(Rgb colour) { return (colour.red >> 5) << 6 | (colour.green >> 5) << 3 | colour.blue >> 5; }

bool IsLight(Rgb colour) {
  return 299 * colour.red + 587 * colour.green + 114 * colour.blue >= 128 * 1000;
}

}  // namespace

Rgb SnapScanColour(Rgb colour) {
  if (Spread(colour) > kGreyTolerance) return colour;
  if (std::max({colour.red, colour.green, colour.blue}) <= kNearBlack) return kBlackInk;
  if (std::min({colour.red, colour.green, colour.blue}) >= kNearWhite) return kWhitePaper;
  return colour;
}

Rgb DominantColour(const std::vector<Rgb>& samples) {
  if (samples.empty()) return kWhitePaper;
  std::array<int, 512> counts{};
  for (const Rgb& sample : samples) ++counts[BinOf(sample)];
  const int fullest = static_cast<int>(std::max_element(counts.begin(), counts.end()) - counts.begin());
  std::vector<Rgb> members;
  members.reserve(counts[fullest]);
  for (const Rgb& sample : samples) {
    if (BinOf(sample) == fullest) members.push_back(sample);
  }
  return MedianColour(members);
}

Rgb InkColour(const std::vector<Rgb>& samples, Rgb paper) {
  const Rgb contrast = IsLight(paper) ? kBlackInk : kWhitePaper;
  if (samples.empty()) return contrast;
  std::vector<int> distances;
  distances.reserve(samples.size());
  for (const Rgb& sample : samples) distances.push_back(SquaredDistance(sample, paper));
  // The 98th percentile rather than the maximum, so a speck of dirt does
  // not set the scale.
  std::vector<int> sorted = distances;
  auto reference = sorted.begin() + static_cast<std::ptrdiff_t>((sorted.size() - 1) * 98 / 100);
  std::nth_element(sorted.begin(), reference, sorted.end());
  const int far = *reference;
  if (far < kMinInkContrast * kMinInkContrast) return contrast;
  // Stroke cores: at least 75 % of the reference distance (56 % squared);
  // the anti-aliased edges, half paper, stay out.
  std::vector<Rgb> cores;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (distances[i] * 100 >= far * 56) cores.push_back(samples[i]);
  }
  return MedianColour(cores);
}

void SampleLayoutColours(const Page& image, PageLayout& layout) {
  const PIX* pix = image.pix.get();
  if (pix == nullptr) return;
  for (LayoutBlock& block : layout.blocks) {
    // Pictures and rules carry no text, so their colours are of no use.
    if (block.paragraphs.empty()) continue;
    const std::vector<Rgb> paperSamples = SampleRegionColours(pix, block.box, kBlockSamples);
    if (!paperSamples.empty()) block.background = SnapScanColour(DominantColour(paperSamples));
    for (LayoutParagraph& paragraph : block.paragraphs) {
      for (LayoutLine& line : paragraph.lines) {
        for (LayoutWord& word : line.words) {
          const std::vector<Rgb> inkSamples = SampleRegionColours(pix, word.box, kWordSamples);
          word.color = SnapScanColour(InkColour(inkSamples, block.background));
        }
      }
    }
  }
}

}  // namespace zelk
