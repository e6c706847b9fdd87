// Removal from the middle of a list in one pass, keeping the order of what
// stays: the enemy lists drop many entries in one frame (a bomb, a stage of
// thousands of copies of one enemy), and erasing them one by one moved every
// later entry once per removal, so the cost grew with the square of the count.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

// Walks the first `count` entries of `list` in order; each entry for which
// `goes` answers true is handed to `gone` (which may move it away) and
// removed, the others move down once, to the first free place. Entries past
// `count` stay as they are, behind the kept ones. Answers how many of the
// first `count` stay.
template <typename T, typename Goes, typename Gone>
std::size_t remove_in_order(std::vector<T>& list, std::size_t count, Goes&& goes, Gone&& gone) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (goes(list[i])) {
            gone(list[i]);
            continue;
        }
        if (i != kept) list[kept] = std::move(list[i]);
        ++kept;
    }
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(kept),
               list.begin() + static_cast<std::ptrdiff_t>(count));
    return kept;
}
