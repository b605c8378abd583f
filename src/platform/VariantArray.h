// Fixed-size arrays of variant cells with checked access: an index outside the bounds throws
// OutOfBoundsException instead of touching memory that is not there.
#pragma once

#include "platform/Exceptions.h"
#include "platform/Variant.h"
#include <vector>

namespace platform {

class VariantArray {
public:
    VariantArray() = default;
    explicit VariantArray(int upperBound) { Redim(upperBound); }
    void Redim(int upperBound) { cells_.assign(upperBound < 0 ? 0 : upperBound + 1, Variant()); }
    int Ubound() const { return int(cells_.size()) - 1; }
    Variant& operator()(int i) { return cells_.at(check(i)); }
    const Variant& operator()(int i) const { return cells_.at(check(i)); }

private:
    std::size_t check(int i) const {
        if (i < 0 || i >= int(cells_.size()))
            throw OutOfBoundsException();
        return std::size_t(i);
    }
    std::vector<Variant> cells_;
};

class VariantTable {
public:
    VariantTable() = default;
    VariantTable(int rowUpper, int colUpper) { Redim(rowUpper, colUpper); }
    void Redim(int rowUpper, int colUpper) {
        rows_ = rowUpper < 0 ? 0 : rowUpper + 1;
        cols_ = colUpper < 0 ? 0 : colUpper + 1;
        cells_.assign(std::size_t(rows_) * cols_, Variant());
    }
    int Ubound(int dimension) const { return (dimension == 1 ? rows_ : cols_) - 1; }
    Variant& operator()(int r, int c) { return cells_[index(r, c)]; }
    const Variant& operator()(int r, int c) const { return cells_[index(r, c)]; }

private:
    std::size_t index(int r, int c) const {
        if (r < 0 || r >= rows_ || c < 0 || c >= cols_)
            throw OutOfBoundsException();
        return std::size_t(r) * cols_ + c;
    }
    int rows_ = 0, cols_ = 0;
    std::vector<Variant> cells_;
};

} // namespace platform
