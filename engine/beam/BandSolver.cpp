#include "beam/BandSolver.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace torvex::engine {

namespace {
constexpr double kPivotThreshold = 10;
}  // namespace

// The extra `lower` columns on the right hold the fill-in that row interchanges bring.
TBandMatrix::TBandMatrix(int n, int lower, int upper)
    : n_(n), lower_(lower), upper_(upper), width_(2 * lower + upper + 1),
      band_(static_cast<size_t>(n) * static_cast<size_t>(2 * lower + upper + 1), 0.0) {}

void TBandMatrix::OutsideTheBand() { throw std::out_of_range("band matrix position outside the band"); }

double TBandMatrix::At(int row, int column) const {
    const int offset = column - row + lower_;
    if (row < 0 || row >= n_ || offset < 0 || offset >= width_) return 0.0;
    return band_[static_cast<size_t>(row) * static_cast<size_t>(width_) + static_cast<size_t>(offset)];
}

void TBandMatrix::ClearRow(int row) {
    std::fill_n(band_.begin() + static_cast<long>(row) * width_, width_, 0.0);
}

void TBandMatrix::Clear() { std::fill(band_.begin(), band_.end(), 0.0); }

// Row r's entry in column c sits at band[r * width + c - r + lower]: walking along a row is a
// step of 1, down a column a step of width - 1. The loops below keep to the stored band.
bool TBandMatrix::Solve(std::vector<double>& b) {
    if (static_cast<int>(b.size()) != n_) throw std::invalid_argument("right-hand side size");
    const int w = width_, lower = lower_;
    double* const a = band_.data();
    double* const x = b.data();
    auto row = [&](int r) { return a + static_cast<ptrdiff_t>(r) * w - r + lower; };  // row(r)[c]
    scale_.assign(static_cast<size_t>(n_), 0.0);
    double* const rowScale = scale_.data();
    // Each row's last column that can hold a non-zero: its band, widened by the rows swapped or
    // subtracted into it. Without interchanges the fill-in columns stay zero and are skipped.
    last_.resize(static_cast<size_t>(n_));
    int* const lastNonZero = last_.data();
    for (int r = 0; r < n_; ++r) lastNonZero[r] = std::min(n_ - 1, r + upper_);
    // The fill-in columns are still zero here.
    const int stored = lower_ + upper_ + 1;
    for (int r = 0; r < n_; ++r) {
        const double* cells = a + static_cast<ptrdiff_t>(r) * w;
        double largest = 0;
        for (int j = 0; j < stored; ++j) largest = std::max(largest, std::fabs(cells[j]));
        rowScale[r] = largest;
    }
    for (int k = 0; k < n_; ++k) {
        const int lastRow = std::min(n_ - 1, k + lower);
        int pivot = k;
        double best = std::fabs(row(k)[k]);
        for (int r = k + 1; r <= lastRow; ++r)
            if (std::fabs(row(r)[k]) > best) {
                best = std::fabs(row(r)[k]);
                pivot = r;
            }
        // Threshold pivoting: the row in place stays the pivot unless another is ten times
        // larger. The wall's equations are those of a symmetric positive definite beam on
        // springs apart from their end rows, where elimination without interchanges is stable;
        // strict partial pivoting would swap at nearly every row and fill the band to twice its
        // width for nothing.
        if (pivot != k && std::fabs(row(k)[k]) * kPivotThreshold >= best) {
            best = std::fabs(row(k)[k]);
            pivot = k;
        }
        const double scale = rowScale[pivot];
        if (!std::isfinite(best) || !std::isfinite(scale)) {
            // Numbers past the range of doubles: no solution to give, but not a singular matrix.
            std::fill(b.begin(), b.end(), std::numeric_limits<double>::quiet_NaN());
            return true;
        }
        if (!(best > 1e-13 * scale)) return false;
        double* const pivotRow = row(k);
        if (pivot != k) {
            const int swapped = std::max(lastNonZero[k], lastNonZero[pivot]);
            double* const other = row(pivot);
            for (int c = k; c <= swapped; ++c) std::swap(pivotRow[c], other[c]);
            std::swap(x[k], x[pivot]);
            std::swap(rowScale[k], rowScale[pivot]);
            std::swap(lastNonZero[k], lastNonZero[pivot]);
        }
        const int lastColumn = lastNonZero[k];
        // Row k's scale is not needed any more: it keeps the pivot's inverse for the back
        // substitution, which then multiplies instead of waiting on a division per row.
        const double inverse = 1.0 / pivotRow[k];
        rowScale[k] = inverse;
        for (int r = k + 1; r <= lastRow; ++r) {
            double* const target = row(r);
            const double factor = target[k] * inverse;
            if (factor == 0.0) continue;
            // Column k of the rows below is never read again: it is left as it is.
            for (int c = k + 1; c <= lastColumn; ++c) target[c] -= factor * pivotRow[c];
            x[r] -= factor * x[k];
            lastNonZero[r] = std::max(lastNonZero[r], lastColumn);
        }
    }
    for (int k = n_ - 1; k >= 0; --k) {
        const double* const cells = row(k);
        double sum = x[k];
        const int lastColumn = lastNonZero[k];
        for (int c = k + 1; c <= lastColumn; ++c) sum -= cells[c] * x[c];
        x[k] = sum * rowScale[k];
    }
    return true;
}

}  // namespace torvex::engine
