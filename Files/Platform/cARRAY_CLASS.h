// Growable arrays of the runtime: a typed alias over std::vector, grown in fixed steps where it matters.
#pragma once
#include <cstddef>
#include <vector>

template <typename T> using cARRAY_CLASS = std::vector<T>;

// Makes room for one more element, growing the capacity by `step` entries at a time.
template <typename T> void GrowBy(std::vector<T>& array, size_t step) {
    if (array.size() == array.capacity()) {
        array.reserve(array.capacity() + step);
    }
}
