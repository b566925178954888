// EChartError: the one error the chart model raises on a bad setting.
#pragma once

#include <stdexcept>

class EChartError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
