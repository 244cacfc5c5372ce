// The quicksort of the toolkit's lists: pivot taken once at (L + R) div 2, Hoare partition,
// recursion on the left part and a loop on the right one. Equal items keep no particular order.
#pragma once

#include <utility>

template <class T, class Compare>
void sgQuickSort(T* items, int L, int R, Compare compare) {
    int I;
    do {
        I = L;
        int J = R;
        T pivot = items[(L + R) / 2];
        do {
            while (compare(items[I], pivot) < 0)
                ++I;
            while (compare(items[J], pivot) > 0)
                --J;
            if (I <= J) {
                std::swap(items[I], items[J]);
                ++I;
                --J;
            }
        } while (I <= J);
        if (L < J)
            sgQuickSort(items, L, J, compare);
        L = I;
    } while (I < R);
}

// Binary search over count items that compare(i) orders against the sought value (negative:
// item i sorts before it). True when an equal item exists; index is then that item (the first
// of equal ones when firstOfEqual), otherwise the place where the value would go.
template <class Compare>
bool sgBinarySearch(int count, Compare compare, bool firstOfEqual, int& index) {
    bool found = false;
    int L = 0, H = count - 1;
    while (L <= H) {
        int I = (L + H) / 2;
        int C = compare(I);
        if (C < 0) {
            L = I + 1;
        } else {
            H = I - 1;
            if (C == 0) {
                found = true;
                if (!firstOfEqual)
                    L = I;
            }
        }
    }
    index = L;
    return found;
}
