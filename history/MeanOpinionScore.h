// The one-number quality of a link over a span: the usual simplification of
// the E-model from the average trip time, the jitter and the loss, with R
// held to 0..100 so that the score stays within 1.0 to 4.5 even at heavy
// loss. Portable.
#pragma once

// Effective latency = average + 2 x jitter + 10 ms; R = 93.2 - EL / 40 below
// 160 ms, else 93.2 - (EL - 120) / 10; minus 2.5 per percent lost; then
// MOS = 1 + 0.035 R + 7e-6 R (R - 60) (100 - R).
double MeanOpinionScore(double averageMs, double jitterMs, double lossPercent);
