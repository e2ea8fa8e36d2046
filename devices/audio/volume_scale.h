#pragma once
// Volume conversions. The panel and the profile hold volumes in percent (0-100); the audio layer
// takes a scalar 0.0-1.0; the chip reports its level in dB within a range that has a step.
#include <string>

namespace qxr::audio {

inline constexpr int VOLUME_PERCENT_MAX = 100;

// Range of a volume control as the chip reports it.
struct DbRange {
  double min_db = 0;
  double max_db = 0;
  double step_db = 0;  // 0 or less: continuous
};

// Scalar read from the chip → percent. Rounded, not truncated: 0.57 must give 57, not 56.
int scalar_to_percent(double scalar);
// Percent from the panel → the scalar written to the chip; out-of-range input is clamped.
float percent_to_scalar(int percent);

// The level of a scalar position, snapped to the range's step and kept inside the range.
double scalar_to_db(double scalar, const DbRange& range);
// The scalar position of a level; levels outside the range are clamped to its ends.
double db_to_scalar(double db, const DbRange& range);

// A level as the panel shows it: two decimals.
std::string format_db(double db);

}  // namespace qxr::audio
