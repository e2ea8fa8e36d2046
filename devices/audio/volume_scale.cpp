#include "devices/audio/volume_scale.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

namespace qxr::audio {

int scalar_to_percent(double scalar) {
  if (!std::isfinite(scalar)) return 0;
  return static_cast<int>(std::lround(std::clamp(scalar, 0.0, 1.0) * VOLUME_PERCENT_MAX));
}

float percent_to_scalar(int percent) {
  return static_cast<float>(std::clamp(percent, 0, VOLUME_PERCENT_MAX)) /
         static_cast<float>(VOLUME_PERCENT_MAX);
}

double scalar_to_db(double scalar, const DbRange& range) {
  const double span = range.max_db - range.min_db;
  if (!(span > 0) || !std::isfinite(scalar)) return range.min_db;
  double offset = std::clamp(scalar, 0.0, 1.0) * span;
  if (range.step_db > 0) offset = std::round(offset / range.step_db) * range.step_db;
  return std::min(range.min_db + offset, range.max_db);
}

double db_to_scalar(double db, const DbRange& range) {
  const double span = range.max_db - range.min_db;
  if (!(span > 0) || !std::isfinite(db)) return 0;
  return std::clamp((db - range.min_db) / span, 0.0, 1.0);
}

std::string format_db(double db) {
  // Avoid showing "-0.00" for a level that rounds to zero.
  if (std::fabs(db) < 0.005) db = 0;
  return fmt::format("{:.2f}", db);
}

}  // namespace qxr::audio
