#pragma once

#include <array>
#include <optional>

// The total of a student's four grades as the results window and the class journal show it:
// the mean of the four, a missing grade counting 0, to the nearest tenth.
double totalGrade(const std::array<double, 4>& grades);
double totalGrade(const std::array<std::optional<float>, 4>& grades);
