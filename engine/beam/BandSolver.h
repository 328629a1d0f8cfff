#pragma once
// Gaussian elimination with threshold pivoting for banded systems: the wall's finite-difference
// matrix has four diagonals on each side, so a solve costs O(n), never a dense O(n^3).

#include <cstddef>
#include <vector>

namespace torvex::engine {

class TBandMatrix {
public:
    // An n x n matrix with `lower` diagonals below and `upper` above the main one.
    TBandMatrix(int n, int lower, int upper);

    int Size() const { return n_; }
    // Adds value at (row, column); the position must lie inside the band.
    void Add(int row, int column, double value) {
        const int offset = column - row + lower_;
        if (column - row > upper_ || row - column > lower_ || row < 0 || row >= n_) OutsideTheBand();
        band_[static_cast<size_t>(row) * static_cast<size_t>(width_) + static_cast<size_t>(offset)] += value;
    }
    double At(int row, int column) const;
    // Replaces a row by zeros (to put another equation in its place).
    void ClearRow(int row);
    // Sets every entry to zero, keeping the storage, for the next system of the same shape.
    void Clear();

    // Solves A x = b in place of b; the elimination overwrites the matrix. Returns false for a
    // singular matrix (a zero pivot relative to the row's size), leaving b unspecified.
    // Numbers that overflow leave non-finite values in b.
    bool Solve(std::vector<double>& b);

private:
    [[noreturn]] static void OutsideTheBand();
    int n_, lower_, upper_, width_;
    std::vector<double> band_;  // row-major: row r holds columns r - lower .. r + upper + lower
    std::vector<double> scale_;  // each row's largest entry, for the singularity test
    std::vector<int> last_;      // each row's last column that may be non-zero
};

}  // namespace torvex::engine
