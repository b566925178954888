// The chart as the compact window carries it: Series1 (trip times) and
// Series2 (their average through TeeFunction1), the stored colours, the
// background tile, white Arial 8 labels, no legend, title or bevel.
#pragma once

#include "chart/Chart.h"

// Fills an empty chart; the average is rebuilt once as loading ends.
void BuildResponseTimeChart(TChart& chart);
