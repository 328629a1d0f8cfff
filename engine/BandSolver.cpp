#include "BandSolver.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace torvex::engine {

// The extra `lower` columns on the right hold the fill-in that row interchanges bring.
TBandMatrix::TBandMatrix(int n, int lower, int upper)
    : n_(n), lower_(lower), upper_(upper), width_(2 * lower + upper + 1),
      band_(static_cast<size_t>(n) * static_cast<size_t>(2 * lower + upper + 1), 0.0) {}

double& TBandMatrix::Cell(int row, int column) {
    const int offset = column - row + lower_;
    if (row < 0 || row >= n_ || offset < 0 || offset >= width_)
        throw std::out_of_range("band matrix position outside the band");
    return band_[static_cast<size_t>(row) * static_cast<size_t>(width_) + static_cast<size_t>(offset)];
}

void TBandMatrix::Add(int row, int column, double value) {
    if (column - row > upper_ || row - column > lower_)
        throw std::out_of_range("band matrix position outside the band");
    Cell(row, column) += value;
}

double TBandMatrix::At(int row, int column) const {
    const int offset = column - row + lower_;
    if (row < 0 || row >= n_ || offset < 0 || offset >= width_) return 0.0;
    return band_[static_cast<size_t>(row) * static_cast<size_t>(width_) + static_cast<size_t>(offset)];
}

void TBandMatrix::ClearRow(int row) {
    std::fill_n(band_.begin() + static_cast<long>(row) * width_, width_, 0.0);
}

bool TBandMatrix::Solve(std::vector<double>& b) {
    if (static_cast<int>(b.size()) != n_) throw std::invalid_argument("right-hand side size");
    std::vector<double> rowScale(static_cast<size_t>(n_), 0.0);
    for (int r = 0; r < n_; ++r)
        for (int c = std::max(0, r - lower_); c <= std::min(n_ - 1, r + upper_ + lower_); ++c)
            rowScale[static_cast<size_t>(r)] = std::max(rowScale[static_cast<size_t>(r)], std::fabs(At(r, c)));
    for (int k = 0; k < n_; ++k) {
        const int lastRow = std::min(n_ - 1, k + lower_);
        int pivot = k;
        double best = std::fabs(At(k, k));
        for (int r = k + 1; r <= lastRow; ++r)
            if (std::fabs(At(r, k)) > best) {
                best = std::fabs(At(r, k));
                pivot = r;
            }
        const double scale = rowScale[static_cast<size_t>(pivot)];
        if (!std::isfinite(best) || !std::isfinite(scale)) {
            // Numbers past the range of doubles: no solution to give, but not a singular matrix.
            std::fill(b.begin(), b.end(), std::numeric_limits<double>::quiet_NaN());
            return true;
        }
        if (!(best > 1e-13 * scale)) return false;
        const int lastColumn = std::min(n_ - 1, k + upper_ + lower_);
        if (pivot != k) {
            for (int c = k; c <= lastColumn; ++c) std::swap(Cell(k, c), Cell(pivot, c));
            std::swap(b[static_cast<size_t>(k)], b[static_cast<size_t>(pivot)]);
            std::swap(rowScale[static_cast<size_t>(k)], rowScale[static_cast<size_t>(pivot)]);
        }
        const double diagonal = At(k, k);
        for (int r = k + 1; r <= lastRow; ++r) {
            const double factor = At(r, k) / diagonal;
            if (factor == 0.0) continue;
            for (int c = k; c <= lastColumn; ++c) Cell(r, c) -= factor * At(k, c);
            b[static_cast<size_t>(r)] -= factor * b[static_cast<size_t>(k)];
        }
    }
    for (int k = n_ - 1; k >= 0; --k) {
        double sum = b[static_cast<size_t>(k)];
        const int lastColumn = std::min(n_ - 1, k + upper_ + lower_);
        for (int c = k + 1; c <= lastColumn; ++c) sum -= At(k, c) * b[static_cast<size_t>(c)];
        b[static_cast<size_t>(k)] = sum / At(k, k);
    }
    return true;
}

}  // namespace torvex::engine
