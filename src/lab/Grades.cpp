#include "lab/Grades.h"

#include "lab/Numbers.h"

double totalGrade(const std::array<double, 4>& grades) {
    double sum = 0;
    for (double grade : grades) sum += grade;
    return roundToFraction(10, sum / 4);
}

double totalGrade(const std::array<std::optional<float>, 4>& grades) {
    std::array<double, 4> values{};
    for (std::size_t k = 0; k < grades.size(); ++k) values[k] = grades[k].value_or(0.0f);
    return totalGrade(values);
}
