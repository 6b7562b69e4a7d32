#include "imaging/SrgbProfile.h"

#include "imaging/Page.h"

#include <lcms2.h>

#include <memory>

namespace zelk {
namespace {

// Points of the sampled tone curve: version 2 profiles have no parametric
// curves, and 1024 points follow the sRGB curve to well within a 16-bit
// step while keeping the profile near 2.6 KB (LittleCMS's own sRGB
// profile samples 4096 points, 8.8 KB, in every PDF).
constexpr int kCurvePoints = 1024;

using ToneCurve = std::unique_ptr<cmsToneCurve, decltype(&cmsFreeToneCurve)>;
using Profile = std::unique_ptr<void, decltype(&cmsCloseProfile)>;

// The sRGB transfer function, IEC 61966-2.1, as a sampled curve.
ToneCurve SrgbToneCurve() {
  const cmsFloat64Number parameters[5] = {2.4, 1.0 / 1.055, 0.055 / 1.055, 1.0 / 12.92, 0.04045};
  const ToneCurve exact(cmsBuildParametricToneCurve(nullptr, 4, parameters), &cmsFreeToneCurve);
  if (!exact) throw ImageError(ErrorKind::EncodeFailed, "", "cannot make the sRGB tone curve");
  std::vector<cmsUInt16Number> table(kCurvePoints);
  for (int i = 0; i < kCurvePoints; ++i) {
    table[static_cast<size_t>(i)] = cmsEvalToneCurve16(
        exact.get(), static_cast<cmsUInt16Number>(i * 65535.0 / (kCurvePoints - 1) + 0.5));
  }
  ToneCurve sampled(cmsBuildTabulatedToneCurve16(nullptr, kCurvePoints, table.data()),
                    &cmsFreeToneCurve);
  if (!sampled) throw ImageError(ErrorKind::EncodeFailed, "", "cannot make the sRGB tone curve");
  return sampled;
}

std::vector<uint8_t> BuildProfile() {
  cmsCIExyY whitePoint;
  cmsWhitePointFromTemp(&whitePoint, 6504);
  const cmsCIExyYTRIPLE primaries = {
      {0.6400, 0.3300, 1.0}, {0.3000, 0.6000, 1.0}, {0.1500, 0.0600, 1.0}};
  const ToneCurve curve = SrgbToneCurve();
  cmsToneCurve* curves[3] = {curve.get(), curve.get(), curve.get()};
  const Profile profile(cmsCreateRGBProfile(&whitePoint, &primaries, curves), &cmsCloseProfile);
  if (!profile) throw ImageError(ErrorKind::EncodeFailed, "", "cannot make the sRGB colour profile");
  cmsSetProfileVersion(profile.get(), 2.1);
  cmsUInt32Number size = 0;
  if (!cmsSaveProfileToMem(profile.get(), nullptr, &size) || size == 0) {
    throw ImageError(ErrorKind::EncodeFailed, "", "cannot write the sRGB colour profile");
  }
  std::vector<uint8_t> bytes(size);
  if (!cmsSaveProfileToMem(profile.get(), bytes.data(), &size)) {
    throw ImageError(ErrorKind::EncodeFailed, "", "cannot write the sRGB colour profile");
  }
  bytes.resize(size);
  return bytes;
}

}  // namespace

const std::vector<uint8_t>& SrgbIccProfile() {
  static const std::vector<uint8_t> profile = BuildProfile();
  return profile;
}

}  // namespace zelk
